// Password-hidden Safari bookmarks: the window's password flow, the round trip
// through the working copy on a real Safari file, and what keeps it safe.
#include <filesystem>

#include "app/PresenterFixture.h"
#include "crypto/EncryptedPage.h"
#include "crypto/PasswordVerifier.h"
#include "model/PropertyList.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

using namespace outlets;

// The dictionary with this "WebBookmarkUUID" anywhere in a Safari tree.
DictPtr EntryWithUuid(const Value& tree, const std::string& uuid) {
  const DictPtr d = tree.asDict();
  if (!d) return nullptr;
  if (d->getString("WebBookmarkUUID") == uuid) return d;
  if (const ArrayPtr children = d->getArray("Children"))
    for (const Value& child : *children)
      if (DictPtr found = EntryWithUuid(child, uuid)) return found;
  return nullptr;
}

struct Encryption : ::testing::Test {
  PresenterHome h;
  AppDelegate& Start() {
    AppDelegate& app = h.Start();
    app.encryption().keyIterations = 1000;
    h.SuppressReminder();
    h.Press(kSafariBookMarkBtn);
    return app;
  }
  NodePtr Bookmark(const std::string& uuid) {
    for (const NodePtr& n : h.app->lists().safariBookMarkArray)
      if (n->bookMarkUUID() == uuid) return n;
    return nullptr;
  }
  // The controller knows a password "pw" and has been told it for both directions.
  EncryptionController& Unlocked() {
    EncryptionController& e = h.app->encryption();
    if (!e.HasStoredPassword()) {
      EXPECT_TRUE(e.CreatePassword("pw"));
    }
    EXPECT_TRUE(e.AcceptPassword("pw"));
    e.hasEnterEncryptedPasswd = e.hasEnterDecryptedPasswd = true;
    return e;
  }
  Value WorkingCopy() { return ReadPropertyListFile(h.loc.safariWorkingCopy()).valueOr(Value()); }
};

TEST_F(Encryption, WindowCreatesAndAsksForThePasswordOncePerDirection) {
  h.WriteSafari({profile::Leaf("Weather", "https://weather.example/", "W-1"), profile::Leaf("Shop", "https://shop.example/", "S-1")});
  AppDelegate& app = Start();
  EXPECT_FALSE(app.encryption().AcceptPassword("")) << "nothing matches while none is stored";
  h.SelectTitles({"Weather"});
  EXPECT_TRUE(app.EncryptedSelectedBookMarkAction());
  const auto create = [&](const char* password, const char* confirmation) {
    app.SetFieldText("theCreatePWLab", password);
    app.SetFieldText("theConfirmPWLab", confirmation);
    app.CreatePasswordAction();
  };
  create("pw", "pW");
  EXPECT_FALSE(app.encryption().HasStoredPassword());
  create("pw", "pw");
  EXPECT_TRUE(IsPasswordVerifier(*h.prefs->getString(prefkeys::kLinvaraPassword)));
  const auto typePassword = [&](const char* password) {
    app.SetFieldText(kEnterPWLab, password);
    h.Press(kEnterPDButton);
  };
  typePassword("pW");
  EXPECT_EQ(h.screen->shakes, (TitleList{"CreatePWWindow", "enterPDWindow"}));
  EXPECT_EQ(h.RowTitles(), (TitleList{"Weather", "Shop"}));
  typePassword("pw");
  EXPECT_TRUE(h.view().findText(kEnterPDWarnLab)->hidden);
  EXPECT_EQ(h.view().findText(kEnterPWLab)->text, "");
  EXPECT_EQ(h.RowTitles(), (TitleList{"Encrypted Bookmark", "Shop"}));
  h.SelectTitles({"Shop"});
  app.EncryptedSelectedBookMarkAction();  // asks nothing the second time
  EXPECT_EQ(h.screen->windowsShown, (TitleList{"CreatePWWindow", "enterPDWindow"}));
  EXPECT_EQ(h.RowTitles(), (TitleList{"Encrypted Bookmark", "Encrypted Bookmark"}));
  h.SelectTitles({"Encrypted Bookmark"});
  app.DecrypteSelectedBookMarkAction();
  typePassword("pw");
  EXPECT_EQ(h.screen->windowsShown.size(), 3u) << "decrypting asks once";
  EXPECT_EQ(h.RowTitles(), (TitleList{"Weather", "Encrypted Bookmark"}));
  EXPECT_EQ(h.rows().front()->urlString(), "https://weather.example/");
  EXPECT_FALSE(fs::exists(h.loc.dataFolder() / "W-1"));
  EXPECT_TRUE(fs::exists(PageFile(h.loc.dataFolder(), "S-1")));
}

TEST_F(Encryption, NothingSelectedOrAnotherViewAsksForNothing) {
  h.WriteSampleBookmarks();
  AppDelegate& app = Start();
  h.SelectTitles({"News"});
  EXPECT_FALSE(app.EncryptedSelectedBookMarkAction());
  h.Press(kAllBookMarkBtn);
  h.SelectTitles({"Weather"});
  EXPECT_FALSE(app.EncryptedSelectedBookMarkAction());
  EXPECT_FALSE(app.DecrypteSelectedBookMarkAction());
  EXPECT_TRUE(h.screen->windowsShown.empty());
}

// Two bookmarks at different depths encrypted, one decrypted: every other key of
// each entry stays, and Safari's own file is not touched.
TEST_F(Encryption, RoundTripThroughTheWorkingCopyKeepsEveryOtherKey) {
  CopyTestFile("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist", h.loc.safariBookmarks());
  const std::string safariBefore = ReadText(h.loc.safariBookmarks());
  const Value original = *ReadPropertyListFile(h.loc.safariBookmarks());
  const std::string deep = "3F9D45FD-EE3E-4E23-8EFF-C64BB2713EC5", top = "3A798004-9B1A-436C-8C3A-2D7D19A22B37";
  Start();
  ASSERT_TRUE(Unlocked().EncryptBookmarks({Bookmark(deep), Bookmark(top)}).ok());
  const auto expectEntry = [&](const std::string& uuid, const std::string& title, const std::string& url) {
    DictPtr written = EntryWithUuid(WorkingCopy(), uuid)->copy(), before = EntryWithUuid(original, uuid)->copy();
    EXPECT_EQ(written->getDict("URIDictionary")->entries(), (std::vector<Dictionary::Entry>{{"title", title}})) << uuid;
    EXPECT_EQ(written->getString("URLString"), url) << uuid;
    for (DictPtr d : {written, before}) d->remove("URIDictionary"), d->remove("URLString");
    EXPECT_EQ(Value(written), Value(before)) << uuid;
  };
  const auto pageUrl = [&](const std::string& uuid) { return FileUrlOfPath(PageFile(h.loc.dataFolder(), uuid)); };
  expectEntry(deep, "Encrypted Bookmark", pageUrl(deep));
  expectEntry(top, "Encrypted Bookmark", pageUrl(top));
  EXPECT_TRUE(Bookmark(deep)->bEncrytedBookmark());
  const std::string records = *SerializePropertyListXml(h.prefs->get(prefkeys::kLinvaraStoreData));
  for (const char* secret : {"rubygems", "RubyGems", "bing", "Bing"}) EXPECT_EQ(records.find(secret), std::string::npos);

  ASSERT_TRUE(h.app->encryption().DecryptBookmarks({Bookmark(top)}).ok());
  expectEntry(top, "Bing", "https://www.bing.com/");
  expectEntry(deep, "Encrypted Bookmark", pageUrl(deep));
  EXPECT_FALSE(fs::exists(h.loc.dataFolder() / top));
  EXPECT_TRUE(fs::exists(PageFile(h.loc.dataFolder(), deep)));
  EXPECT_EQ(ReadText(h.loc.safariBookmarks()), safariBefore);
}

TEST_F(Encryption, UnsafeUuidIsRefusedWithAnAlertAndTouchesNothingOutside) {
  h.WriteSafari({profile::Leaf("Escape", "https://escape.example/", "../../Safari"), profile::Leaf("Fine", "https://fine.example/", "F-1")});
  const std::string safariBefore = FolderFingerprint(h.loc.safariBookmarks().parent_path());
  AppDelegate& app = Start();
  Unlocked();
  h.SelectTitles({"Escape", "Fine"});
  app.EncryptedSelectedBookMarkAction();
  EXPECT_EQ(h.RowTitles(), (TitleList{"Escape", "Encrypted Bookmark"}));
  ASSERT_EQ(h.screen->alerts.size(), 1u);
  EXPECT_NE(h.screen->alerts[0].request.informativeText.find("Escape: its identifier cannot name a folder"), std::string::npos);
  EXPECT_EQ(FolderFingerprint(h.loc.safariBookmarks().parent_path()), safariBefore);
}

// Decrypting writes the working copy first: when that fails the page stays. Without
// its record the address is recovered from the page.
TEST_F(Encryption, DecryptingKeepsThePageWhenTheWriteFailsAndNeedsNoRecord) {
  h.WriteSafari({profile::Leaf("Weather", "https://weather.example/", "W-1")});
  Start();
  ASSERT_TRUE(Unlocked().EncryptBookmarks({Bookmark("W-1")}).ok());
  fs::remove(h.loc.safariWorkingCopy());
  fs::create_directories(h.loc.safariWorkingCopy() / "blocked");
  EXPECT_FALSE(h.app->encryption().DecryptBookmarks({Bookmark("W-1")}).ok());
  EXPECT_TRUE(fs::exists(PageFile(h.loc.dataFolder(), "W-1")));
  EXPECT_EQ(Bookmark("W-1")->thetitle(), "Encrypted Bookmark");
  fs::remove_all(h.loc.safariWorkingCopy());
  (void)h.prefs->remove(prefkeys::kLinvaraStoreData);
  ASSERT_TRUE(h.app->encryption().DecryptBookmarks({Bookmark("W-1")}).ok());
  EXPECT_EQ(Bookmark("W-1")->urlString(), "https://weather.example/");
  EXPECT_EQ(Bookmark("W-1")->thetitle(), "Encrypted Bookmark");
}

// A store of an earlier version: the password and the record in plain text.
TEST_F(Encryption, LegacyPlainPasswordAndRecordWorkOnceAndAreUpgraded) {
  const fs::path page = PageFile(h.loc.dataFolder(), "W-1");
  h.WriteSafari({profile::Leaf("Encrypted Bookmark", FileUrlOfPath(page), "W-1")});
  (void)h.prefs->set(prefkeys::kLinvaraPassword, Value("legacy"));
  DictPtr record = Dictionary::make();
  record->set("Title", "Weather"), record->set("Url", "https://weather.example/"), record->set("TheUrl", page.string());
  ArrayPtr records = Array::make();
  records->append(record);
  (void)h.prefs->set(prefkeys::kLinvaraStoreData, Value(records));
  Start();
  EncryptionController& e = h.app->encryption();
  EXPECT_FALSE(e.AcceptPassword("Legacy"));
  ASSERT_TRUE(e.AcceptPassword("legacy"));
  EXPECT_TRUE(IsPasswordVerifier(*h.prefs->getString(prefkeys::kLinvaraPassword)));
  const std::string stored = *SerializePropertyListXml(h.prefs->get(prefkeys::kLinvaraStoreData));
  EXPECT_EQ(stored.find("weather"), std::string::npos);
  EXPECT_TRUE(e.AcceptPassword("legacy"));
  ASSERT_TRUE(e.DecryptBookmarks({Bookmark("W-1")}).ok());
  EXPECT_EQ(Bookmark("W-1")->thetitle(), "Weather");
  EXPECT_EQ(Bookmark("W-1")->urlString(), "https://weather.example/");
}

}  // namespace
}  // namespace linvara::testing

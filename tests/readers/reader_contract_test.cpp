// What every bookmark reader must do, run over the Safari, Chromium and
// Firefox readers: the removal form, files left untouched, the responsiveness
// hook, paths shared per folder, the folder limit, and damaged or odd files
// reported as errors.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <random>
#include <thread>

#include "readers/ChromiumReader.h"
#include "readers/FirefoxReader.h"
#include "readers/ReaderTestSupport.h"
#include "readers/SafariReader.h"

namespace linvara::testing {
namespace {

namespace fs = std::filesystem;

// Each format writes a top-level entry as its browser's file (Firefox after its standard roots).
struct SafariFormat {
  static constexpr const char* kFile = "Bookmarks.plist";
  static constexpr const char* kRealFile = "safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist";
  static void Write(const fs::path& file, const BookmarkEntry& e) { Must(profile::WriteSafariBookmarks(file, {e})); }
  static ReadResult Read(ReaderHarness& h, const fs::path& file, const NodeList* removeList) {
    return removeList ? SafariReader(h.ctx).ReadSafariBookMark(file, *removeList)
                      : SafariReader(h.ctx).ReadSafariBookMark(file);
  }
  static const NodeList& Leaves(const ReaderHarness& h) { return h.lists.safariBookMarkArray; }
  static const NodeList& TopLevel(const ReaderHarness& h) { return h.lists.safariFatherArray; }
};

struct ChromiumFormat {
  static constexpr const char* kFile = "Default/Bookmarks";
  static constexpr const char* kRealFile = "chromium_bookmarks/chrome-2023-09_fr-nested_Bookmarks";
  static void Write(const fs::path& file, const BookmarkEntry& e) { WriteChromiumFile(file, e); }
  static ReadResult Read(ReaderHarness& h, const fs::path& file, const NodeList* removeList) {
    return removeList ? ChromiumReader(h.ctx).ReadChromeBookMark(file, *removeList)
                      : ChromiumReader(h.ctx).ReadChromeBookMark(file);
  }
  static const NodeList& Leaves(const ReaderHarness& h) { return h.lists.chromebookMarkArray; }
  static const NodeList& TopLevel(const ReaderHarness& h) { return h.lists.ChromeFatherArray; }
};

struct FirefoxFormat {
  static constexpr const char* kFile = "Profiles/p.default/places.sqlite";
  static constexpr const char* kRealFile = "firefox_places/firefox-windows-2020-09_schema54_separators_places.sqlite";
  static void Write(const fs::path& file, const BookmarkEntry& e) {
    profile::PlacesDatabase places = PlacesWith({});
    Must(places.AddEntries(profile::kFirefoxRootId, {e}));
    Must(places.Save(file));
  }
  static ReadResult Read(ReaderHarness& h, const fs::path& file, const NodeList* removeList) {
    const FirefoxSource source{file.parent_path().parent_path(), file};
    return removeList ? FirefoxReader(h.ctx).ReadFirefoxBookMarkwithRemoveArray(source, *removeList)
                      : FirefoxReader(h.ctx).ReadFirefoxBookMark(source);
  }
  static const NodeList& Leaves(const ReaderHarness& h) { return h.lists.FireFoxBookMarkArray; }
  static const NodeList& TopLevel(const ReaderHarness& h) { return h.lists.FireFoxFatherArray; }
};

template <class Format>
class EveryReader : public ::testing::Test {
 protected:
  ReadResult Read(const NodeList* removeList = nullptr) { return Format::Read(h, file, removeList); }
  const NodeList& Leaves() const { return Format::Leaves(h); }

  TempDir dir;
  fs::path file = dir / Format::kFile;
  ReaderHarness h;
};

using Formats = ::testing::Types<SafariFormat, ChromiumFormat, FirefoxFormat>;
TYPED_TEST_SUITE(EveryReader, Formats);

TYPED_TEST(EveryReader, RemovalFormLeavesOutEveryListedAddressExactly) {
  TypeParam::Write(this->file, Folder("Bar", {Leaf("One", BookmarkUrl(1)), Leaf("Two", BookmarkUrl(2)),
                                              Leaf("One again", BookmarkUrl(1)), Leaf("Three", BookmarkUrl(3))}));
  // Letter case counts; a folder without an address matches nothing.
  const NodeList removeList{WithAddress(BookmarkUrl(1)), WithAddress("HTTPS://3.EXAMPLE/"), PRFaBookMarkNode::Create()};
  ASSERT_TRUE(this->Read(&removeList).ok());
  EXPECT_EQ(Titles(this->Leaves()), (std::vector<std::string>{"Two", "Three"}));
  EXPECT_EQ(this->h.lists.allbookMarkArray, this->Leaves());
  // The folder stays, without the left-out bookmarks among its children.
  ASSERT_FALSE(TypeParam::TopLevel(this->h).empty());
  EXPECT_EQ(Titles(ChildrenOf(TypeParam::TopLevel(this->h).back())), (std::vector<std::string>{"Two", "Three"}));
}

TYPED_TEST(EveryReader, ReadingLeavesTheFilesUntouched) {
  CopyTestFile(TypeParam::kRealFile, this->file);
  const std::string before = FolderFingerprint(this->dir.path());
  ASSERT_TRUE(this->Read().ok());
  ASSERT_FALSE(this->Leaves().empty());
  const NodeList all = this->h.lists.allbookMarkArray;
  ASSERT_TRUE(this->Read(&all).ok());
  EXPECT_EQ(FolderFingerprint(this->dir.path()), before);
}

TYPED_TEST(EveryReader, LargeReadCallsTheResponsivenessHookDuringTheRead) {
  std::vector<BookmarkEntry> leaves;
  for (int i = 0; i < 5000; ++i) leaves.push_back(Leaf("n", BookmarkUrl(i)));
  TypeParam::Write(this->file, Folder("Bar", leaves));
  // Ticks while the file is parsed find no leaf yet; then one per kNodesPerResponsivenessTick leaves.
  std::vector<std::size_t> leavesAtTicks;
  this->h.ctx.keepResponsive = [&] {
    if (!this->h.lists.allbookMarkArray.empty()) leavesAtTicks.push_back(this->h.lists.allbookMarkArray.size());
  };
  ASSERT_TRUE(this->Read().ok());
  EXPECT_EQ(this->Leaves().size(), 5000u);
  EXPECT_EQ(leavesAtTicks.size(), 5000 / ReaderContext::kNodesPerResponsivenessTick);
  ASSERT_FALSE(leavesAtTicks.empty());
  EXPECT_LT(leavesAtTicks.front(), 5000u) << "ticks come during the read, not after it";
}

TEST(ReaderContext, ParseRunsOnAnotherThreadOnlyWhileTheCallerKeepsResponsive) {
  BookmarkLists lists;
  ReaderContext ctx{lists, 0, {}};
  std::atomic<bool> ticked{false};
  std::thread::id parsedOn;
  // The work waits for a tick, which only comes when the caller keeps itself responsive meanwhile.
  ctx.keepResponsive = [&] { ticked = true; };
  ctx.RunKeepingResponsive([&] {
    parsedOn = std::this_thread::get_id();
    while (!ticked) std::this_thread::yield();
  });
  EXPECT_NE(parsedOn, std::this_thread::get_id());
  ctx.keepResponsive = nullptr;
  ctx.RunKeepingResponsive([&] { parsedOn = std::this_thread::get_id(); });
  EXPECT_EQ(parsedOn, std::this_thread::get_id());
}

TYPED_TEST(EveryReader, LeavesOfOneFolderShareOnePathObject) {
  TypeParam::Write(this->file, Folder("Bar", {Leaf("A", "https://a.example/"), Leaf("B", "https://b.example/")}));
  ASSERT_TRUE(this->Read().ok());
  ASSERT_EQ(this->Leaves().size(), 2u);
  EXPECT_EQ(OrNull(this->Leaves()[0]->theFullPath()), "/Bar");
  EXPECT_EQ(this->Leaves()[0]->sharedFullPath(), this->Leaves()[1]->sharedFullPath());
}

TYPED_TEST(EveryReader, EntriesBelowTheFolderLimitAreLeftOutAndCounted) {
  TypeParam::Write(this->file, FolderChain(static_cast<int>(kMaxFolderLevels) + 8));
  const ReadResult result = this->Read();
  ASSERT_TRUE(result.ok()) << result.error();
  // Folders 1 to 512 and the bookmark in each are read; 8 folders and 8 bookmarks are not.
  ASSERT_EQ(this->Leaves().size(), kMaxFolderLevels);
  EXPECT_EQ(result->entriesBelowFolderLimit, 16u);
  EXPECT_EQ(EntriesBelowFolderLimitMessage(result->entriesBelowFolderLimit),
            "16 bookmarks below 512 folder levels were not read");
  const NodePtr& deepest = this->Leaves().back();
  EXPECT_EQ(OrNull(deepest->thetitle()), "B512");
  std::string path;
  for (int level = 1; level <= 512; ++level) path += "/L" + std::to_string(level);
  EXPECT_EQ(OrNull(deepest->theFullPath()), path);
}

TYPED_TEST(EveryReader, DamagedFileIsMalformed) {
  const std::string real = ReadText(TestData(TypeParam::kRealFile));
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"empty", ""},
      {"garbage", std::string(4096, 'x')},
      {"first seventh", real.substr(0, real.size() / 7)},
      {"first half", real.substr(0, real.size() / 2)},
  };
  for (const auto& [name, bytes] : damaged) {
    SCOPED_TRACE(name);
    WriteText(this->file, bytes);
    ReaderHarness fresh;
    const ReadResult result = TypeParam::Read(fresh, this->file, nullptr);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.errorKind(), ErrorKind::Malformed) << result.error();
    EXPECT_NE(result.error().find(this->file.string()), std::string::npos) << "the message names the file";
    EXPECT_TRUE(fresh.lists.allbookMarkArray.empty());
  }
}

TYPED_TEST(EveryReader, RandomByteDamageIsReadSafely) {
  const std::string real = ReadText(TestData(TypeParam::kRealFile));
  std::mt19937 random(7);
  for (int round = 0; round < 30; ++round) {
    std::string copy = real;
    for (int i = 1 + static_cast<int>(random() % 8); i > 0; --i)
      copy[random() % copy.size()] = static_cast<char>(random() % 256);
    WriteText(this->file, copy);
    const std::string before = FolderFingerprint(this->dir.path());
    ReaderHarness fresh;
    (void)TypeParam::Read(fresh, this->file, nullptr);
    for (const auto& leaf : fresh.lists.allbookMarkArray) EXPECT_TRUE(leaf->isLeaf());
    EXPECT_EQ(FolderFingerprint(this->dir.path()), before);
  }
}

// A FIFO would block a reader for ever and a link to /dev/zero exhaust memory.
TYPED_TEST(EveryReader, FileThatCannotBeOpenedIsReportedAtOnce) {
  const RootPtr kept = PRRootBookMarkNode::Create();
  this->h.lists.rootNode = kept;
  EXPECT_EQ(this->Read().errorKind(), ErrorKind::NotFound);
  EXPECT_EQ(this->h.lists.rootNode, kept) << "a missing file changes nothing, not even the root";
  fs::create_directories(this->file.parent_path());
  ASSERT_EQ(::mkfifo(this->file.c_str(), 0600), 0);
  for (const char* kind : {"FIFO", "link to /dev/zero"}) {
    SCOPED_TRACE(kind);
    const ReadResult result = this->Read();
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.errorKind(), ErrorKind::Unreadable) << result.error();
    fs::remove(this->file);
    fs::create_symlink("/dev/zero", this->file);
  }
  EXPECT_TRUE(this->h.lists.allbookMarkArray.empty());
}

}  // namespace
}  // namespace linvara::testing

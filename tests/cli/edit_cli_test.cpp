// linvara-cli commands that change a browser's tree: delete, edit, move, apply,
// restore, encrypt, decrypt and sort (the unified view's sorts over the demo
// profile write nothing and print as list prints; the tree sorts over real
// browser files write the working copies).
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliTestSupport.h"
#include "model/Json.h"
#include "model/PropertyList.h"

namespace linvara::testing {
namespace {

using profile::Folder;
using profile::Leaf;

struct EditCli : CliHome {
  EditCli() {
    WriteSafari({Folder("Bar", {Leaf("A", "https://a.example/", "U-A"), Leaf("B", "https://b.example/", "U-B")}, "U-BAR"),
                 profile::NestedFolders(7, Leaf("Bottom", "https://bottom.example/", "U-BOTTOM"))});
    CopyTestFile("chromium_bookmarks/chromium-linux-2021-02_Bookmarks", loc.chromeDefaultBookmarks());
    WriteText(loc.backupFolder() / Locations::kSafariBackupName, "first start");
  }
  // The titles in the Safari working copy, depth first.
  std::string SafariTitles() const {
    std::string out;
    std::function<void(const Value&)> walk = [&](const Value& v) {
      DictPtr d = v.asDict();
      if (!d) return;
      if (auto t = d->getString("Title")) out += *t + " ";
      if (DictPtr uri = d->getDict("URIDictionary")) out += uri->getString("title").value_or("?") + " ";
      if (ArrayPtr children = d->getArray("Children"))
        for (const Value& c : *children) walk(c);
    };
    auto root = ReadPropertyListFile(loc.safariWorkingCopy());
    if (!root) return "(none)";
    walk(*root);
    return out;
  }
};

const std::string kChain = "Level 1 Level 2 Level 3 Level 4 Level 5 Level 6 Level 7 ";

TEST(EditCommands, WriteTheWorkingCopyByUuid) {
  struct Case {
    std::vector<std::vector<std::string>> runs;  // the last one's exit code counts
    int code;
    std::string titles;
  };
  const std::vector<Case> cases = {
      {{{"delete", "--view", "safari", "U-B", "U-A", "U-BAR"}}, 0, " Bar " + kChain + "Bottom "},
      {{{"delete", "--view", "safari", "U-A", "U-NONE"}}, 2, "(none)"},
      {{{"delete", "--view", "safari"}}, 2, "(none)"},
      {{{"delete", "--view", "safari", "U-A"}, {"delete", "--view", "safari", "--working-copy", "U-B"}},
       0, " Bar " + kChain + "Bottom "},
      {{{"edit", "--view", "safari", "U-A", "--title", "New", "--url", ""}}, 0, " Bar New B " + kChain + "Bottom "},
      {{{"edit", "--view", "chrome", "U-A", "--title", "New"}}, 2, "(none)"},
      {{{"move", "--view", "safari", "U-A", "--to", "Level 7"}}, 0, " Bar B " + kChain + "Bottom A "},
      {{{"move", "--view", "safari", "U-A", "--to", "Nowhere"}}, 1, " Bar A B " + kChain + "Bottom "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.runs.back()[0] + " " + c.runs.back().back());
    EditCli f;
    CliRun run{};
    for (const auto& args : c.runs) run = f.Run(args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(f.SafariTitles(), c.titles);
  }
}

TEST(EditCommands, ChromeDeleteRemovesTheListedBookmark) {
  EditCli f;
  auto listed = f.Run({"list", "--view", "chrome", "--flat", "--json"}).json();
  ASSERT_EQ(f.Run({"delete", "--view", "chrome", listed.at(0)["uuid"]}).code, 0);
  const std::string copy = ReadText(f.loc.chromeWorkingCopy());
  EXPECT_EQ(copy.find("\"" + std::string(listed.at(0)["url"]) + "\""), std::string::npos);
  EXPECT_NE(copy.find("\"" + std::string(listed.at(1)["url"]) + "\""), std::string::npos);
}

TEST(EditCommands, ApplyAndRestoreRefuseWhileTheBrowserRunsUnlessForced) {
  EditCli f;
  const std::string own = ReadText(f.loc.safariBookmarks());
  ASSERT_EQ(f.Run({"delete", "--view", "safari", "U-A"}).code, 0);
  f.platform->running = {bundleids::kSafari};
  const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
      {{"apply", "safari"}, 1, own},
      {{"restore", "safari", "--yes"}, 1, own},
      {{"restore", "safari", "--force"}, 2, own},
      {{"apply", "safari", "--force"}, 0, ReadText(f.loc.safariWorkingCopy())},
      {{"restore", "safari", "--yes", "--force"}, 0, "first start"},
  };
  for (const auto& [args, code, content] : cases) {
    SCOPED_TRACE(args[0] + " " + args.back());
    CliRun run = f.Run(args);
    EXPECT_EQ(run.code, code) << run.err;
    EXPECT_EQ(ReadText(f.loc.safariBookmarks()), content);
    if (code == 0) {
      EXPECT_NE(run.out.find("the replaced file was kept at "), std::string::npos) << run.out;
    }
  }
  EXPECT_NE(f.Run({"apply", "safari"}).err.find("Quit Safari before applying the changes."), std::string::npos);
}

// encrypt and decrypt: the password on stdin, and what a refusal leaves.
TEST(EncryptCli, PasswordFromStdinAndRefusalsWriteNothingWrong) {
  CliHome h;
  h.WriteSafari({profile::Leaf("Weather", "https://weather.example/", "W-1")});
  const struct {
    std::vector<std::string> args;
    const char* input;
    int code;
    bool workingCopyChanges;
  } steps[] = {
      {{"encrypt", "W-1"}, "pw\n", 2, false},
      {{"encrypt", "--view", "chrome", "W-1"}, "pw\n", 2, false},
      {{"encrypt", "--view", "safari", "NO-SUCH"}, "pw\n", 1, false},
      {{"encrypt", "--view", "safari", "W-1"}, "", 1, false},  // no line: no password is set
      {{"encrypt", "--view", "safari", "W-1"}, "pw\r\n", 0, true},  // the first line sets the password
      {{"encrypt", "--view", "safari", "W-1", "--working-copy"}, "pw\n", 1, false},  // encrypted already
      {{"decrypt", "--view", "safari", "W-1", "--working-copy"}, "PW\n", 1, false},
      {{"decrypt", "--view", "safari", "W-1"}, "pw\n", 1, false},  // Safari's own file: not encrypted
      {{"decrypt", "--view", "safari", "W-1", "--working-copy"}, "pw\n", 0, true},
  };
  std::string before;
  for (const auto& step : steps) {
    std::istringstream in(step.input);
    const CliRun r = h.Run(step.args, cli::CliInput{&in, false});
    EXPECT_EQ(r.code, step.code) << step.args[0] << " " << step.args.back() << ": " << r.err;
    const std::string now = std::filesystem::exists(h.loc.safariWorkingCopy()) ? ReadText(h.loc.safariWorkingCopy()) : "";
    EXPECT_EQ(now != before, step.workingCopyChanges) << step.args.back();
    before = now;
  }
  EXPECT_NE(before.find("https://weather.example/"), std::string::npos);
  EXPECT_EQ(ReadText(h.loc.preferencesFile()).find(">pw<"), std::string::npos);
}

TEST_F(DemoHome, SortByBrowserGroupsBrowsersKeepingListOrder) {
  const Json listed = CliJson({"list", "--flat", "--json"});
  const Json sorted = CliJson({"sort", "--by", "browser", "--flat", "--json"});
  std::vector<std::string> browsers = Field(sorted, "browser");
  browsers.erase(std::unique(browsers.begin(), browsers.end()), browsers.end());
  EXPECT_EQ(browsers, (std::vector<std::string>{"Chrome", "Firefox", "Microsoft Edge", "Opera", "Safari"}));
  for (const std::string& browser : browsers) EXPECT_EQ(Field(sorted, "uuid", browser), Field(listed, "uuid", browser));
}

TEST_F(DemoHome, SortTopLevelPutsFoldersFirstOrLast) {
  for (const char* folders : {"first", "last"}) {
    std::vector<std::string> kinds = Field(CliJson({"sort", "--by", "name", "--folders", folders, "--json"}), "kind");
    ASSERT_GT(std::count(kinds.begin(), kinds.end(), "bookmark"), 0) << folders;
    kinds.erase(std::unique(kinds.begin(), kinds.end()), kinds.end());
    EXPECT_EQ(kinds, (std::string(folders) == "first" ? std::vector<std::string>{"folder", "bookmark"}
                                                       : std::vector<std::string>{"bookmark", "folder"}));
  }
}

TEST_F(DemoHome, SortRejectsWhatItCannotSort) {
  for (const std::vector<std::string>& call : std::vector<std::vector<std::string>>{
           {"sort", "--view", "safari", "--by", "host"}, {"sort", "--by", "colour"}, {"sort"},
           {"sort", "--by", "name", "--selected", "X"}, {"sort", "--view", "chrome", "--by", "name", "X"},
           {"sort", "--by", "name", "--folders", "mid"}})
    EXPECT_EQ(Cli(call).code, 2) << call.back();
}

// The top-level titles of the Safari working copy.
std::vector<std::string> SafariTopLevel(const std::filesystem::path& file) {
  std::vector<std::string> out;
  Result<Value> root = ReadPropertyListFile(file);
  if (!root) return out;
  for (const Value& entry : *root->asDict()->getArray("Children")) {
    DictPtr uri = entry.asDict()->getDict("URIDictionary");
    out.push_back(uri ? *uri->getString("title") : *entry.asDict()->getString("Title"));
  }
  return out;
}

// The keys of the Chrome working copy's "roots" object.
std::vector<std::string> ChromeRootKeys(const std::filesystem::path& file) {
  std::vector<std::string> out;
  Result<Value> root = ReadJsonFile(file);
  if (!root) return out;
  for (const auto& [key, value] : *root->asDict()->getDict("roots")) out.push_back(key);
  return out;
}

// Real Safari and Chrome files sorted by name: the working copy's top level (none written: a refusal).
TEST(SortTreeCommand, WritesTheWorkingCopySorted) {
  const std::string kGoogle = "ECAA8B13-0301-45B7-8ECF-991F1B51F1F1", kHistory = "D1CC91C6-1B18-44E1-AC7A-8643630FAD25";
  const struct {
    const char* view;
    std::vector<std::string> extra, topLevel;
  } cases[] = {
      {"safari", {"--folders", "last"},
       {"Bing", "DuckDuckGo", "Google", "BookmarksBar", "BookmarksMenu", "com.apple.ReadingList", "History"}},
      {"safari", {"--folders", "last", "--selected", kHistory, kGoogle},
       {"Google", "BookmarksBar", "BookmarksMenu", "Bing", "DuckDuckGo", "History", "com.apple.ReadingList"}},
      {"safari", {"--selected", "NO-SUCH-UUID"}, {}},
      {"chrome", {}, {"bookmark_bar", "synced", "other"}},
      {"chrome", {"--selected", "1", "2"}, {"bookmark_bar", "other", "synced"}},  // the unselected root keeps its place
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.view) + " " + ::testing::PrintToString(c.extra));
    CliHome h;
    CopyTestFile("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist", h.loc.safariBookmarks());
    CopyTestFile("chromium_bookmarks/chromium-linux-2021-02_Bookmarks", h.loc.chromeDefaultBookmarks());
    std::vector<std::string> args = {"sort", "--view", c.view, "--by", "name"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const CliRun run = h.Run(args);
    EXPECT_EQ(run.code, c.topLevel.empty() ? 2 : 0) << run.err;
    const bool safari = std::string(c.view) == "safari";
    EXPECT_EQ(safari ? SafariTopLevel(h.loc.safariWorkingCopy()) : ChromeRootKeys(h.loc.chromeWorkingCopy()), c.topLevel);
  }
}

}  // namespace
}  // namespace linvara::testing

#pragma once
// A presenter on a generated home, driven the way a user drives the window:
// buttons, row selection, the search field. Alerts and panels are answered by
// a ScriptedScreen, worker results are pumped with a QueuedDispatcher.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/AppDelegate.h"
#include "app/Outlets.h"
#include "app/ScriptedScreen.h"
#include "profile/ChromiumBookmarksFile.h"
#include "profile/SafariBookmarksFile.h"
#include "support/TestSupport.h"

namespace linvara::testing {

// An alert's message, default and alternate button, informative text, sheet or
// modal, and suppression check box, to compare in one go.
using AlertFields = std::tuple<std::string, std::string, std::string, std::string, bool, bool>;
inline AlertFields AlertFieldsOf(const AlertSpec& a) {
  return {a.message, a.defaultButton, a.alternateButton, a.informativeText, a.asSheet, a.showSuppressionButton};
}

using TitleList = std::vector<std::string>;

// A bookmark node as the reader of browser `from` makes it.
inline NodePtr BrowserLeaf(const std::string& title, const std::string& url, const std::string& from) {
  NodePtr n = PRBookMarkNode::Create();
  n->setThetitle(title);
  n->setUrlString(url);
  n->setBookMarkFrom(from);
  return n;
}

// A generated home in the macOS layout on a fake platform (macOS 10.13.6).
struct TestHome {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  std::shared_ptr<FakePlatformServices> platform = std::make_shared<FakePlatformServices>();

  TestHome() { platform->version = SystemVersion{10, 13, 6}; }
  // What a controller on this home is given: its locations, platform and preferences.
  AppServices Services(std::shared_ptr<Preferences> prefs) const {
    AppServices s;
    s.locations = loc;
    s.preferences = std::move(prefs);
    s.platform = platform;
    return s;
  }
  void WriteSafari(const std::vector<profile::BookmarkEntry>& top) {
    auto written = profile::WriteSafariBookmarks(loc.safariBookmarks(), top);
    ASSERT_TRUE(written.ok()) << written.error();
  }
  void WriteChrome(const std::vector<profile::ChromiumRoot>& roots) {
    auto written = profile::WriteChromiumBookmarks(loc.chromeDefaultBookmarks(), roots);
    ASSERT_TRUE(written.ok()) << written.error();
  }
  // Safari: two system folders, News (Local > Paper, apple pie, Äpfelkuchen) and three bookmarks,
  // one of them no web address. Chrome: the bar (Work > Mail, Docs) and Apple Store in Other.
  void WriteSampleBookmarks() {
    using profile::Folder, profile::Leaf;
    WriteSafari({Folder("BookmarksMenu", {Leaf("Menu Item", "https://menu.example/")}),
                 Folder("Favorites Bar", {Leaf("Bar Item", "https://bar.example/")}),
                 Folder("News", {Folder("Local", {Leaf("Paper", "https://paper.example/")}),
                                 Leaf("apple pie", "https://pie.example/"), Leaf("Äpfelkuchen", "https://kuchen.example/")}),
                 Leaf("Fruit Stand", "https://shop.example/apple"), Leaf("Broken", "not an address"),
                 Leaf("Weather", "https://weather.example/")});
    WriteChrome(profile::ChromiumRoots(
        {Folder("Work", {Leaf("Mail", "https://mail.example/", "11")}, "10"), Leaf("Docs", "https://docs.example/", "12")},
        {Leaf("Apple Store", "https://store.example/", "13")}));
  }
};

struct PresenterHome : TestHome {
  std::shared_ptr<Preferences> prefs = std::make_shared<Preferences>();
  std::shared_ptr<QueuedDispatcher> dispatcher = std::make_shared<QueuedDispatcher>();
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  std::unique_ptr<AppDelegate> app;

  PresenterHome() { (void)prefs->set(prefkeys::kFirstStart, Value("NO")); }

  // As if the Apply Changes reminder had been ticked away.
  void SuppressReminder() { (void)prefs->set(prefkeys::kBookMarkAlertSuppress, Value(true)); }

  // Creates the controller and runs the one-time set-up and the launch.
  AppDelegate& Start() {
    AppServices s = Services(prefs);
    s.dispatcher = dispatcher;
    s.screen = screen;
    app = std::make_unique<AppDelegate>(s);
    app->awakeFromNib();
    app->applicationDidFinishLaunching();
    return *app;
  }

  void Press(const std::string& outlet) { app->PressNavigationButton(outlet); }
  const ViewState& view() const { return app->viewState(); }
  const NodeList& rows() const { return app->viewState().bookmarkTable.content; }
  const ButtonState& Button(const std::string& outlet) const { return *view().findButton(outlet); }
  std::string Image(const std::string& outlet) const { return Button(outlet).image; }
  std::string BackImage() const { return Image(outlets::kBackBookMarkBtn); }

  // Titles of the rows shown, in order.
  TitleList RowTitles() const { return Titles(rows()); }
  // Selects the rows whose titles are given (first row with each title).
  void SelectTitles(const TitleList& titles) {
    std::vector<std::size_t> selected;
    for (const auto& t : titles)
      for (std::size_t i = 0; i < rows().size(); ++i)
        if (OrNull(rows()[i]->thetitle()) == t) {
          selected.push_back(i);
          break;
        }
    app->SelectTableRows(TableId::Bookmarks, selected);
  }
  // Sends a menu command (its entry titled `title`, as a submenu entry names its target).
  bool Perform(const std::string& action, const std::string& title = {}) {
    MenuItemModel item;
    item.action = action;
    item.title = title;
    return app->PerformMenuAction(item);
  }
  // Types into the search field.
  void TypeSearch(const std::string& text) { app->controlTextDidChange(outlets::kSearchField, text); }
  // Lets every search worker finish and hand over its matches; false on a timeout.
  bool SettleSearch() {
    const bool finished = dispatcher->PumpUntil([&] { return app->searchWorkersRunning() == 0; });
    dispatcher->Pump();
    return finished;
  }
  // Selects the row with this title and double-clicks it.
  void Open(const std::string& title) {
    SelectTitles({title});
    app->DoubleClickTableViewBookMarkAction();
  }
};

// The sample bookmarks, with or without the Apply Changes reminder.
struct SampleHome : PresenterHome {
  explicit SampleHome(bool reminder = true) {
    WriteSampleBookmarks();
    if (!reminder) SuppressReminder();
  }
};

// Tests on the sample home, with and without the Apply Changes reminder; the
// controller starts when the test calls h.Start().
struct PresenterTest : ::testing::Test {
  SampleHome h;
};
struct QuietPresenterTest : ::testing::Test {
  SampleHome h{false};
};

}  // namespace linvara::testing

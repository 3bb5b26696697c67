#pragma once
// A presenter on a generated home, driven the way a user drives the window:
// buttons, row selection, the search field. Alerts and panels are answered by
// a ScriptedScreen, worker results are pumped with a QueuedDispatcher.
#include <memory>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "app/Outlets.h"
#include "app/ScriptedScreen.h"
#include "support/TestSupport.h"

namespace linvara::testing {

// Safari property-list pieces.
inline std::string SafariLeaf(const std::string& title, const std::string& url) {
  return "<dict><key>WebBookmarkType</key><string>WebBookmarkTypeLeaf</string>"
         "<key>WebBookmarkUUID</key><string>uuid-" + title + "</string>"
         "<key>URLString</key><string>" + url + "</string>"
         "<key>URIDictionary</key><dict><key>title</key><string>" + title + "</string></dict></dict>";
}
inline std::string SafariFolder(const std::string& title, const std::string& children) {
  return "<dict><key>WebBookmarkType</key><string>WebBookmarkTypeList</string>"
         "<key>WebBookmarkUUID</key><string>uuid-" + title + "</string>"
         "<key>Title</key><string>" + title + "</string>"
         "<key>Children</key><array>" + children + "</array></dict>";
}
inline std::string SafariPlist(const std::string& children) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\"><dict><key>Title</key><string></string>"
         "<key>WebBookmarkFileVersion</key><integer>1</integer>"
         "<key>WebBookmarkType</key><string>WebBookmarkTypeList</string>"
         "<key>WebBookmarkUUID</key><string>root-uuid</string>"
         "<key>Children</key><array>" + children + "</array></dict></plist>\n";
}

// Chromium JSON pieces.
inline std::string ChromeUrl(const std::string& id, const std::string& name, const std::string& url) {
  return R"({"date_added":"13245678901234567","id":")" + id + R"(","name":")" + name +
         R"(","type":"url","url":")" + url + R"("})";
}
inline std::string ChromeFolder(const std::string& id, const std::string& name, const std::string& children) {
  return R"({"children":[)" + children + R"(],"date_added":"13245678901234567","id":")" + id + R"(","name":")" +
         name + R"(","type":"folder"})";
}
inline std::string ChromeFile(const std::string& barChildren, const std::string& otherChildren = "") {
  return R"({"checksum":"0","roots":{"bookmark_bar":)" + ChromeFolder("1", "Bookmarks bar", barChildren) +
         R"(,"other":)" + ChromeFolder("2", "Other bookmarks", otherChildren) + R"(},"version":1})";
}

struct PresenterHome {
  TempDir home;
  Locations loc = Locations::ForHome(home.path(), Layout::MacOS);
  std::shared_ptr<FakePlatformServices> platform = std::make_shared<FakePlatformServices>();
  std::shared_ptr<Preferences> prefs = std::make_shared<Preferences>();
  std::shared_ptr<QueuedDispatcher> dispatcher = std::make_shared<QueuedDispatcher>();
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  std::unique_ptr<AppDelegate> app;

  PresenterHome() {
    platform->version = SystemVersion{10, 13, 6};
    (void)prefs->set(prefkeys::kFirstStart, Value("NO"));
  }

  void WriteSafari(const std::string& children) { WriteText(loc.safariBookmarks(), SafariPlist(children)); }
  void WriteChrome(const std::string& json) { WriteText(loc.chromeDefaultBookmarks(), json); }
  void WriteEdge(const std::string& json) { WriteText(loc.edgeBookmarks(), json); }

  // Creates the controller and runs the one-time set-up and the launch.
  AppDelegate& Start() {
    AppServices s;
    s.locations = loc;
    s.preferences = prefs;
    s.platform = platform;
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

  // Titles of the rows shown, in order.
  std::vector<std::string> RowTitles() const {
    std::vector<std::string> titles;
    for (const NodePtr& n : rows()) titles.push_back(OrNull(n->thetitle()));
    return titles;
  }
  // Selects the rows whose titles are given (first row with each title).
  void SelectTitles(const std::vector<std::string>& titles) {
    std::vector<std::size_t> selected;
    for (const auto& t : titles)
      for (std::size_t i = 0; i < rows().size(); ++i)
        if (OrNull(rows()[i]->thetitle()) == t) {
          selected.push_back(i);
          break;
        }
    app->SelectTableRows(TableId::Bookmarks, selected);
  }
  std::string BackImage() const { return view().findButton(outlets::kBackBookMarkBtn)->image; }
};

}  // namespace linvara::testing

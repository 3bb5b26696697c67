#pragma once
// What every subsystem controller shares: the services, the node lists, the
// current view and the view state the window draws from. The controllers take
// the session and keep their own flags and workers; the session keeps none.
#include <cstdint>
#include <functional>
#include <memory>

#include "app/NotificationCenter.h"
#include "app/ScreenInterface.h"
#include "app/ViewState.h"
#include "model/BookmarkLists.h"
#include "model/ViewKind.h"
#include "platform/Locations.h"
#include "platform/MainThread.h"
#include "platform/PlatformServices.h"
#include "platform/Preferences.h"

namespace linvara {

struct AppServices {
  Locations locations = Locations::FromEnvironment();
  std::shared_ptr<Preferences> preferences;
  std::shared_ptr<PlatformServices> platform;
  std::shared_ptr<MainThreadDispatcher> dispatcher;
  std::shared_ptr<ScreenInterface> screen;
  std::shared_ptr<NotificationCenter> notifications;
  // The update manifest's address; empty: no update check is made (tests, tools).
  std::string updateManifestUrl;
};

// The lists a view change lets go of.
enum class ListGroup {
  ViewLists,  // a Safari or Chrome view load: the lists the views show, results, folders
  FullRead,   // the full read: every browser's lists, results, folders
  Browsers,   // back to the start screen: every browser's lists, results kept
};

// The menus that belong to a bookmark view.
struct ViewMenuNames {
  const char* tableMenu;  // context menu of the bookmark table
  const char* sortMenu;
  const char* toolMenu;
};

class BookmarkSession {
 public:
  // Missing services are filled with defaults that need nobody in front of the screen.
  explicit BookmarkSession(AppServices services);
  BookmarkSession(const BookmarkSession&) = delete;
  BookmarkSession& operator=(const BookmarkSession&) = delete;

  const Locations& locations() const { return services_.locations; }
  Preferences& preferences() { return *services_.preferences; }
  PlatformServices& platform() { return *services_.platform; }
  ScreenInterface& screen() { return *services_.screen; }
  MainThreadDispatcher& dispatcher() { return *services_.dispatcher; }
  NotificationCenter& notifications() { return *services_.notifications; }
  const std::shared_ptr<MainThreadDispatcher>& sharedDispatcher() const { return services_.dispatcher; }
  const std::string& updateManifestUrl() const { return services_.updateManifestUrl; }

  BookmarkLists& lists() { return lists_; }
  const BookmarkLists& lists() const { return lists_; }

  // The current view (`bookMarkType`).
  ViewKind bookMarkType = ViewKind::None;

  // ---- View state ----
  const ViewState& viewState() const { return view_.state(); }
  void SetViewListener(ViewStateStore::Listener listener) { view_.setListener(std::move(listener)); }
  // Changes the state and notifies the listener once.
  void UpdateView(unsigned sections, const std::function<void(ViewState&)>& change);
  // Replaces the rows of `dataTableView`, reloads it and deselects all.
  void SetBookmarkTableContent(NodeList rows);
  // Replaces the rows of a result table and reloads it.
  void SetResultTableContent(TableId table, NodeList rows);
  void ShowContentArea(ContentArea area);
  // `backBookMarkBtn` at 27 x 27 with "homebtn.png": the view is at its top level.
  void SetBackButtonHome();
  bool BackButtonShowsHome() const;
  // A message with " Ok ", as a sheet or application-modal.
  void ShowMessage(const std::string& message, bool asSheet, const std::string& informativeText = {});

  // ---- The current view's lists ----
  // The folder tree's top level: the unified top level, `safariFatherArray` or `ChromeFatherArray`.
  NodeList TopLevel() const;
  // Every bookmark of the view, depth-first: what the flat list, the search and the link-health scans use.
  NodeList FlatList() const;
  // What the table shows when a search is cleared: the unified flat list or the tree's top level.
  NodeList SearchDefaultContent() const;
  // The unified top level: Safari, Chrome, Edge, Firefox and Opera top-level lists.
  NodeList UnifiedTopLevel() const;
  static ViewMenuNames MenusOf(ViewKind view);
  // Empties the lists; the nodes read next are new ones.
  void EmptyLists(ListGroup group);

  // Grows at every re-read of the lists (EmptyLists, every reader's run): a list
  // of nodes taken before no longer matches the session's nodes.
  std::uint64_t listsGeneration() const { return listsGeneration_; }
  void NoteListsReread() { ++listsGeneration_; }

 private:
  AppServices services_;
  BookmarkLists lists_;
  ViewStateStore view_;
  std::uint64_t listsGeneration_ = 0;
};

}  // namespace linvara

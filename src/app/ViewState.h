#pragma once
// The window's state as plain data. The controller changes it on the main
// thread only; every change ends with one call of the listener, which the
// window uses to redraw. Nothing here knows about widgets: buttons, labels and
// menus are addressed by their outlet names ("backBookMarkBtn", "enterPWLab",
// "moveFolderMenuItem", ...), images by their resource names.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cookies/PRCookFileNode.h"
#include "model/PRBookMarkNode.h"
#include "model/ViewKind.h"

namespace linvara {

// The tables the controller feeds.
enum class TableId {
  Bookmarks,  // `dataTableView`, content of `bookMarkController`
  LeftDup,    // `leftDupTableView`: duplicate groups
  RightDup,   // `rightDupTableView`: members of the selected group
  DeadUrl,    // `deadUrlTableView`: unreachable bookmarks
  Other,      // any other table: no rows
};

// What the right side of the window shows.
enum class ContentArea {
  Start,      // the start screen, `bookMarkView`
  Bookmarks,  // the bookmark table, `theConentView`
  Cookies,    // the cookie area, `openView`
};

// A button of the navigation panel.
struct ButtonState {
  std::string image;    // image resource ("homebtn.png"); empty: the view definition's own image
  double width = 0;     // size in points; 0 keeps the view definition's size
  double height = 0;
  bool hidden = false;
  bool operator==(const ButtonState&) const = default;
};

// One menu entry. Entries the controller addresses carry their outlet name.
struct MenuItemModel {
  std::string identifier;  // outlet name ("moveFolderMenuItem"), empty for other entries
  std::string title;
  std::string action;      // controller action sent when chosen ("SortAllBookMarkByName:");
                           // empty for an entry that only holds a submenu, or a separator
  bool enabled = true;
  bool hidden = false;
  bool separator = false;
  std::vector<MenuItemModel> submenu;  // empty: no submenu
};

struct MenuModel {
  std::string name;  // outlet name ("sortBookmarkMenu")
  std::vector<MenuItemModel> items;
};

// A label or text field: its text and whether it shows.
struct TextState {
  std::string text;
  bool hidden = false;
  bool operator==(const TextState&) const = default;
};

// A progress indicator: determinate ("412 of 2,000 checked") when `maximum` is above 0.
struct ProgressState {
  std::size_t value = 0;
  std::size_t maximum = 0;
  std::string text;
  bool hidden = true;
  bool operator==(const ProgressState&) const = default;
};

// The content of a list controller and the selection of the table showing it.
struct NodeTableState {
  NodeList content;                    // one node per row
  std::vector<std::size_t> selection;  // selected rows, ascending
  // Grows on every reload; the window reloads when it changes. Without a
  // reload rows are only appended, and the window adds them as new rows.
  std::uint64_t reloads = 0;

  // Nodes of the selected rows, in row order.
  NodeList selectedNodes() const;
  NodePtr selectedNode() const;  // the first selected, or null
};

// The cookie area: its table, which of its pages shows, the progress
// indicator, and which of its commands can run now.
struct CookieAreaState {
  CookieList tableContent;
  bool contentViewShown = false;  // the list (true) or the area's start view
  bool progressShown = false;
  bool busy = false;              // a scan, removal or export runs
  bool newCookieButtonShown = false;
  bool canExport = false;
  bool canRemove = false;
  std::uint64_t reloads = 0;      // grows whenever the table's rows are replaced
};

// Parts of the state, for listeners that redraw only what changed.
namespace viewsection {
inline constexpr unsigned kArea = 1u << 0;          // which area shows
inline constexpr unsigned kBookmarkTable = 1u << 1; // dataTableView: rows, selection, its menu
inline constexpr unsigned kButtons = 1u << 2;
inline constexpr unsigned kMenus = 1u << 3;
inline constexpr unsigned kTexts = 1u << 4;
inline constexpr unsigned kResultTables = 1u << 5;  // duplicate and dead-link tables
inline constexpr unsigned kImages = 1u << 6;        // decorative image views, window style
inline constexpr unsigned kCookies = 1u << 7;       // the cookie area: its table, pages and buttons
inline constexpr unsigned kAll = ~0u;
}  // namespace viewsection

struct ViewState {
  ContentArea area = ContentArea::Start;
  // The loaded view, as the controller's `bookMarkType`. Refreshed before every notification.
  ViewKind bookMarkType = ViewKind::None;

  // `dataTableView` over `bookMarkController`.
  NodeTableState bookmarkTable;
  std::string bookmarkTableMenu;        // name of the context menu given to the table; empty: none
  bool bookmarkTableMultipleSelection = false;

  // Result tables: duplicate groups (left), members of the selected group
  // (right), unreachable bookmarks.
  NodeTableState leftDupTable;
  NodeTableState rightDupTable;
  NodeTableState deadUrlTable;

  // Buttons by outlet name: "allBookMarkBtn", "backBookMarkBtn", "folderListViewBtn",
  // "urlListViewBtn", "exportBookMarkBtn", "safariCookieBtn", "newCookieBtn", ...
  std::map<std::string, ButtonState> buttons;
  // Menus by outlet name; their entries hold the enabled and hidden states.
  std::map<std::string, MenuModel> menus;
  // Labels and text fields by outlet name: "thesearchField", "enterPWLab", "enterPDWarnLab", ...
  std::map<std::string, TextState> texts;
  // Decorative image views by outlet name, each filled with its image, scaled on both axes.
  std::map<std::string, std::string> imageViews;
  // Progress indicators by outlet name ("thedealurlProgresser").
  std::map<std::string, ProgressState> progressIndicators;

  // The cookie area.
  CookieAreaState cookies;
  // `connectWindow`'s look.
  double connectWindowAlpha = 1.0;
  bool connectWindowOpaque = true;

  // Accessors that create a missing entry with its defaults.
  ButtonState& button(const std::string& name) { return buttons[name]; }
  TextState& text(const std::string& name) { return texts[name]; }
  const ButtonState* findButton(const std::string& name) const;
  // The state of a table by its id; null for TableId::Other.
  NodeTableState* table(TableId id);
  const NodeTableState* table(TableId id) const;
  const TextState* findText(const std::string& name) const;
  const ProgressState* findProgress(const std::string& name) const;
  // The entry with this identifier in any menu, at any depth; null when absent.
  MenuItemModel* findMenuItem(const std::string& identifier);
  const MenuItemModel* findMenuItem(const std::string& identifier) const;
};

// The state before `awakeFromNib`: every navigation button and menu of the
// view definition, with the entries each menu offers.
ViewState MakeInitialViewState();

// Holds the state and its one listener.
class ViewStateStore {
 public:
  ViewStateStore() : state_(MakeInitialViewState()) {}
  using Listener = std::function<void(const ViewState& state, unsigned sections)>;

  const ViewState& state() const { return state_; }
  void setListener(Listener listener) { listener_ = std::move(listener); }

  // Applies `change` and tells the listener once, after the outermost Update
  // of a nested series, with every section named along the way.
  void Update(unsigned sections, const std::function<void(ViewState&)>& change);
  std::uint64_t notifications() const { return notifications_; }

 private:
  ViewState state_;
  Listener listener_;
  int depth_ = 0;
  unsigned pending_ = 0;
  std::uint64_t notifications_ = 0;
};

}  // namespace linvara

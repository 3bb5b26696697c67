#pragma once
// The sorts of the three bookmark views. The unified view's sorts reorder the
// rows shown in memory; a tree sort orders the Safari or Chrome tree and hands
// the records to write to the caller, which writes the working copy and reads
// it back, then the view shows the top level. All on the main thread.
#include <functional>

#include "app/BookmarkSession.h"
#include "sort/BookmarkOrders.h"
#include "sort/TreeSort.h"

namespace linvara {

class SortController {
 public:
  explicit SortController(BookmarkSession& session) : session_(session) {}
  SortController(const SortController&) = delete;
  SortController& operator=(const SortController&) = delete;

  // ---- The unified view ----
  // Sorts every row shown; the sorted rows also replace allbookMarkArray.
  // False (nothing done) outside the unified view.
  bool SortAllRows(const BookmarkOrder& order);
  // Sorts the selected rows among themselves (they fill the partial-sort
  // selection first); every other row keeps its place. False when no row is selected.
  bool SortSelectedRows(const BookmarkOrder& order);

  bool SortAllBookMarkByAddress() { return SortAllRows({SortKey::Address, false}); }
  bool SortAllBookMarkAddressAZByURLFirstAddress() { return SortAllRows({SortKey::Address, false}); }
  bool SortAllBookMarkAddressAZByFolderFirstAddress() { return SortAllRows({SortKey::Address, true}); }
  bool SortAllBookMarkAddressAZByURLFirstTitle() { return SortAllRows({SortKey::Name, false}); }
  bool SortAllBookMarkAddressAZByFolderFirstTitle() { return SortAllRows({SortKey::Name, true}); }
  bool SortAllBookMarkByName() { return SortAllRows({SortKey::Name, false}); }
  bool SortAllBookMarkByHost() { return SortAllRows({SortKey::Host, false}); }
  bool SortAllBookMarkByBrowserType() { return SortAllRows({SortKey::Browser, false}); }
  bool SortSelectedAllBookMarkByAddress() { return SortSelectedRows({SortKey::Address, false}); }
  bool SortSelectedAllBookMarkByName() { return SortSelectedRows({SortKey::Name, false}); }
  bool SortSelectedBookMarkByHost() { return SortSelectedRows({SortKey::Host, false}); }

  // ---- The Safari and Chrome trees ----
  // Writes the sorted records to the working copy, empties the browser's
  // top-level and flat lists and reads the working copy back into them.
  using TreeWriteBack = std::function<void(const SortedTree& sorted)>;
  // Sorts the tree of the Safari or Chrome view by `order` (address or name).
  // With `selectedOnly`, only the selected top-level entries are ordered among
  // themselves and nothing happens without a selected row (false). Shows the
  // sorted top level, calls `writeBack`, then shows the top level or, in the
  // flat list mode, the sorted flat list, with the back button at home.
  bool SortTree(TreeFormat format, const BookmarkOrder& order, bool selectedOnly, const TreeWriteBack& writeBack);

 private:
  void ShowRows(NodeList rows);

  BookmarkSession& session_;
};

}  // namespace linvara

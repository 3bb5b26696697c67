#pragma once
// The sorts of the three bookmark views. The unified view's sorts reorder the
// rows shown in memory; a tree sort orders the Safari or Chrome tree,
// writes it to the browser's working copy and reads it back, then the view
// shows the top level. All on the main thread.
#include "app/BookmarkSession.h"
#include "platform/AtomicFile.h"
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
  // Sorts the tree of the Safari or Chrome view by `order` (address or name):
  // writes it, every folder sorted, to the browser's working copy, reads that
  // back and shows the top level or, in the flat list mode, the sorted flat
  // list, with the back button at home. With `selectedOnly`, only the selected
  // top-level entries are ordered among themselves, and nothing happens
  // without a selected row. A failed write keeps the tree as it was and is told.
  Result<void> SortTree(TreeFormat format, const BookmarkOrder& order, bool selectedOnly);
  // The same limited to the given nodes instead of the selected rows.
  Result<void> SortTreeSelection(TreeFormat format, const BookmarkOrder& order, NodeList selected);

  Result<void> SortSafariBookMarkByAddressFolderFirst() { return SortTree(TreeFormat::Safari, {SortKey::Address, true}, false); }
  Result<void> SortSafariBookMarkByAddressFolderLast() { return SortTree(TreeFormat::Safari, {SortKey::Address, false}, false); }
  Result<void> SortSafariBookMarkByNameFolderFirst() { return SortTree(TreeFormat::Safari, {SortKey::Name, true}, false); }
  Result<void> SortSafariBookMarkByNameFolderLast() { return SortTree(TreeFormat::Safari, {SortKey::Name, false}, false); }
  Result<void> SortChromeBookMarkByAdressFolderFirst() { return SortTree(TreeFormat::Chrome, {SortKey::Address, true}, false); }
  Result<void> SortChromeBookMarkByAdressURLFirst() { return SortTree(TreeFormat::Chrome, {SortKey::Address, false}, false); }
  Result<void> SortChromeBookMarkByNameFolderFirst() { return SortTree(TreeFormat::Chrome, {SortKey::Name, true}, false); }
  Result<void> SortChromeBookMarkByNameFolderLast() { return SortTree(TreeFormat::Chrome, {SortKey::Name, false}, false); }
  Result<void> SortSelectedBookmarkByAddressFolderFirst() { return SortTree(TreeFormat::Safari, {SortKey::Address, true}, true); }
  Result<void> SortSelectedBookmarkByAddressFolderLast() { return SortTree(TreeFormat::Safari, {SortKey::Address, false}, true); }
  Result<void> SortSelectedBookmarkByNameFirst() { return SortTree(TreeFormat::Safari, {SortKey::Name, true}, true); }
  Result<void> SortSelectedBookmarkByName() { return SortTree(TreeFormat::Safari, {SortKey::Name, false}, true); }
  Result<void> SortSelectedChromeBookmarkByAddressFolderFirst() { return SortTree(TreeFormat::Chrome, {SortKey::Address, true}, true); }
  Result<void> SortSelectedChromeBookmarkByAddressFolderLast() { return SortTree(TreeFormat::Chrome, {SortKey::Address, false}, true); }
  Result<void> SortSelectedChromeBookmarkByNameFirst() { return SortTree(TreeFormat::Chrome, {SortKey::Name, true}, true); }
  Result<void> SortSelectedChromeBookmarkByName() { return SortTree(TreeFormat::Chrome, {SortKey::Name, false}, true); }

  // Replaces the low-level writer of the working copies (tests).
  WriteChunkFn writeChunk;

 private:
  void ShowRows(NodeList rows);
  Result<void> SortAndWriteTree(TreeFormat format, const BookmarkOrder& order, const NodeSelection* selection);

  BookmarkSession& session_;
};

}  // namespace linvara

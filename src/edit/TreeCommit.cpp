#include "edit/TreeCommit.h"

#include "edit/WorkingCopies.h"
#include "readers/BookmarkReadController.h"

namespace linvara {

namespace {
DictPtr RootDictOf(const BookmarkSession& session) {
  const RootPtr& root = session.lists().rootNode;
  return root ? root->rootDict() : nullptr;
}

void ShowTopLevel(BookmarkSession& session, const NodeList& topLevel) {
  session.SetBookmarkTableContent(topLevel);
  session.SetBackButtonHome();
}
}  // namespace

namespace {
// Writes the text, then reads the working copy back into the view's lists and shows its top level.
Result<void> WriteAndReadBack(BookmarkSession& session, const std::filesystem::path& path, const std::string& text,
                              const WriteChunkFn& writeChunk, NodeList& topLevel, NodeList& bookmarks,
                              void (BookmarkReadController::*read)(const std::filesystem::path&, const NodeList*)) {
  if (auto written = WriteWorkingCopy(path, text, writeChunk); !written) return written;
  topLevel.clear();
  bookmarks.clear();
  session.lists().allbookMarkArray.clear();
  BookmarkReadController reads(session);
  (reads.*read)(path, nullptr);
  ShowTopLevel(session, topLevel);
  return {};
}
}  // namespace

Result<void> CommitSafariTree(BookmarkSession& session, const ArrayPtr& children, const WriteChunkFn& writeChunk) {
  auto text = SafariWorkingCopyText(RootDictOf(session), children);
  if (!text) return Fail(text.error(), ErrorKind::WriteFailed);
  BookmarkLists& lists = session.lists();
  return WriteAndReadBack(session, session.locations().safariWorkingCopy(), *text, writeChunk, lists.safariFatherArray,
                          lists.safariBookMarkArray, &BookmarkReadController::ReadSafariBookMark);
}

Result<void> CommitChromeTree(BookmarkSession& session, const Value& roots, const WriteChunkFn& writeChunk) {
  BookmarkLists& lists = session.lists();
  return WriteAndReadBack(session, session.locations().chromeWorkingCopy(),
                          ChromeWorkingCopyText(RootDictOf(session), roots), writeChunk, lists.ChromeFatherArray,
                          lists.chromebookMarkArray, &BookmarkReadController::ReadChromeBookMark);
}

}  // namespace linvara

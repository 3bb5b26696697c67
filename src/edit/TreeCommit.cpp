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

Result<void> CommitSafariTree(BookmarkSession& session, const ArrayPtr& children, const WriteChunkFn& writeChunk) {
  auto text = SafariWorkingCopyText(RootDictOf(session), children);
  if (!text) return Fail(text.error(), ErrorKind::WriteFailed);
  const auto path = session.locations().safariWorkingCopy();
  if (auto written = WriteWorkingCopy(path, *text, writeChunk); !written) return written;
  BookmarkLists& lists = session.lists();
  lists.safariFatherArray.clear();
  lists.safariBookMarkArray.clear();
  lists.allbookMarkArray.clear();
  BookmarkReadController(session).ReadSafariBookMark(path);
  ShowTopLevel(session, lists.safariFatherArray);
  return {};
}

Result<void> CommitChromeTree(BookmarkSession& session, const Value& roots, const WriteChunkFn& writeChunk) {
  const std::string text = ChromeWorkingCopyText(RootDictOf(session), roots);
  const auto path = session.locations().chromeWorkingCopy();
  if (auto written = WriteWorkingCopy(path, text, writeChunk); !written) return written;
  BookmarkLists& lists = session.lists();
  lists.ChromeFatherArray.clear();
  lists.chromebookMarkArray.clear();
  lists.allbookMarkArray.clear();
  BookmarkReadController(session).ReadChromeBookMark(path);
  ShowTopLevel(session, lists.ChromeFatherArray);
  return {};
}

}  // namespace linvara

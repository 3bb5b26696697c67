#include <gtest/gtest.h>

#include "app/BookmarkSession.h"
#include "edit/EditTestSupport.h"
#include "edit/SafariTreeRebuild.h"
#include "edit/TreeCommit.h"
#include "readers/BookmarkReadController.h"

namespace linvara::testing {
namespace {

WriteChunkFn FailAfter(std::size_t bytes) {
  auto written = std::make_shared<std::size_t>(0);
  return [=](int fd, const char* data, std::size_t size) -> long {
    if (*written >= bytes) {
      errno = EIO;
      return -1;
    }
    std::size_t n = std::min(size, bytes - *written);
    *written += n;
    return ::write(fd, data, n);
  };
}

TEST(TreeCommit, FailedWriteLeavesTheTreeAndTheWorkingCopy) {
  for (std::size_t failAfter : {std::size_t{0}, std::size_t{100}}) {
    SCOPED_TRACE(failAfter);
    TempDir home;
    BookmarkSession session(AppServices{Locations::ForHome(home.path(), Layout::MacOS)});
    session.bookMarkType = ViewKind::Safari;
    const auto file = TestData("safari_bookmarks/safari14-2020_nested-readinglist_Bookmarks.plist");
    BookmarkReadController(session).ReadSafariBookMark(file);
    const NodeList before = session.lists().safariFatherArray;
    NodeList removed{session.lists().safariBookMarkArray.front()};
    ArrayPtr children = removeManyBookMarkfromSafariBookMarkWithArray(
        session.lists(), AncestorsOf(removed, session.lists().rootNode), removed);

    auto failed = CommitSafariTree(session, children, FailAfter(failAfter));
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.errorKind(), ErrorKind::WriteFailed);
    EXPECT_EQ(session.lists().safariFatherArray, before);
    EXPECT_FALSE(std::filesystem::exists(session.locations().safariWorkingCopy()));

    ASSERT_TRUE(CommitSafariTree(session, children).ok());
    EXPECT_EQ(session.lists().safariBookMarkArray.size(), 16u);
    EXPECT_NE(session.lists().safariFatherArray.front(), before.front());
    EXPECT_EQ(session.viewState().table(TableId::Bookmarks)->content, session.lists().safariFatherArray);
    EXPECT_TRUE(session.BackButtonShowsHome());
  }
}

}  // namespace
}  // namespace linvara::testing

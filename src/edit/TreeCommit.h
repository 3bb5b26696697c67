#pragma once
// The common end of every command that changes the Safari or Chrome tree:
// write the working copy, read it back into the session and show the top level.
#include "app/BookmarkSession.h"
#include "model/Value.h"
#include "platform/AtomicFile.h"

namespace linvara {

// Writes `children` as the Safari working copy and reads it back (the session is in the Safari view).
// A failed write changes nothing in memory and is returned (WriteFailed).
Result<void> CommitSafariTree(BookmarkSession& session, const ArrayPtr& children,
                              const WriteChunkFn& writeChunk = nullptr);
// Writes `roots` as the Chrome working copy and reads it back, the same way (the session is in the Chrome view).
Result<void> CommitChromeTree(BookmarkSession& session, const Value& roots, const WriteChunkFn& writeChunk = nullptr);

}  // namespace linvara

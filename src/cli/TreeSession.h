#pragma once
// The Safari or Chrome tree as the commands that change it see it: read from
// the browser's file or, with --working-copy, from the working copy, with the
// controllers that write it back.
#include <optional>
#include <string>
#include <vector>

#include "app/BookmarkSession.h"
#include "cli/CommandContext.h"
#include "cli/LoadedView.h"
#include "edit/EditController.h"
#include "readers/BookmarkReadController.h"
#include "sort/SortController.h"

namespace linvara::cli {

struct TreeSession {
  explicit TreeSession(const CommandContext& ctx)
      : session(CliServices(ctx)), reads(session), editing(session), sorting(session) {}
  BookmarkSession session;
  BookmarkReadController reads;
  EditController editing;
  SortController sorting;
};

// The --view of a tree command: safari, or chrome where allowed; nullopt after saying what is wrong.
std::optional<CliView> TreeView(const CommandContext& ctx, bool chromeAllowed);

// Reads the tree from the browser's own file, or with --working-copy from the working copy. 0, or the exit code.
int LoadTree(const CommandContext& ctx, TreeSession& s, CliView view);

// The nodes whose uuid was given, in tree order; an unknown uuid is told and gives nullopt.
std::optional<NodeList> NodesNamed(const CommandContext& ctx, const NodeList& topLevel,
                                   const std::vector<std::string>& uuids);

// Says where the working copy was written (0), or 1 after a failure the controller told.
int Written(const CommandContext& ctx, const Result<void>& result, CliView view);

}  // namespace linvara::cli

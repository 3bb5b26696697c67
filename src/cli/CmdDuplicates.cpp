#include <ostream>
#include <sstream>

#include "cli/CliApp.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"

namespace linvara::cli {
namespace {

constexpr const char* kDuplicatesUsage =
    "linvara-cli [--home DIR] [--layout macos|linux] duplicates [--view all|safari|chrome] [--json]";

nlohmann::ordered_json OptionalText(const OptString& text) {
  return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

int RunDuplicates(CliContext& ctx) {
  if (!CheckArguments(ctx, {"--json"}, {"--view"}, 0, kDuplicatesUsage)) return 2;
  auto view = ViewOption(ctx);
  if (!view) return 2;
  if (!RequireHomeFolder(ctx)) return 1;

  auto app = MakeCliAppDelegate(ctx);
  LoadView(*app, *view, ctx.err);
  app->linkHealth().StartFindAllDuplicateBookMarkThread();
  while (!app->linkHealth().WaitForWorkers(std::chrono::seconds(1))) {
  }

  const NodeList& groups = app->lists().duplicateArray;
  if (HasFlag(ctx.args, "--json")) {
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const NodePtr& group : groups) {
      nlohmann::ordered_json entry;
      entry["key"] = DuplicateKey(group->urlString().value_or(""));
      entry["title"] = OptionalText(group->thetitle());
      entry["url"] = OptionalText(group->urlString());
      entry["members"] = NodesToJson(DuplicateGroupMembers(group));
      out.push_back(std::move(entry));
    }
    ctx.out << DumpJson(out) << "\n";
  } else {
    for (const NodePtr& group : groups) {
      const NodeList members = DuplicateGroupMembers(group);
      ctx.out << DuplicateKey(group->urlString().value_or("")) << "  (" << members.size() << ")\n";
      std::ostringstream lines;
      PrintNodeLines(lines, members);
      std::istringstream split(lines.str());
      for (std::string line; std::getline(split, line);) ctx.out << "  " << line << "\n";
    }
  }
  ctx.err << groups.size() << " duplicate group" << (groups.size() == 1 ? "" : "s") << ", "
          << app->linkHealth().dupBookmarkCount << " bookmark" << (app->linkHealth().dupBookmarkCount == 1 ? "" : "s") << "\n";
  return 0;
}

const CommandRegistrar kDuplicates{"duplicates",
                                   "print the bookmarks that share an address, grouped (--view, --json)",
                                   RunDuplicates};

}  // namespace
}  // namespace linvara::cli

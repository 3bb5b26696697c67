#include <ostream>
#include <sstream>

#include "cli/Commands.h"
#include "cli/FindingsRemoval.h"
#include "cli/LoadedView.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"
#include "cli/Output.h"
#include "health/DuplicateGroups.h"

namespace linvara::cli {

namespace {
nlohmann::ordered_json OptionalText(const OptString& text) {
  return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}
}  // namespace

int RunDuplicates(CommandContext& ctx) {
  auto view = ViewOption(ctx);
  if (!view) return 2;
  if (!RequireHomeFolder(ctx)) return 1;
  const bool remove = ctx.args.Has("--remove");
  if (ctx.args.Has("--yes") && !remove) return ctx.UsageError("--yes goes with --remove");
  if (remove)
    if (auto refused = RemovalRefused(ctx, *view, true)) return *refused;

  LoadedView loaded = LoadView(ctx, *view);
  const DuplicateFindings found = loaded.FindDuplicates();
  if (remove) {
    // The automatic ticks: the first member of each group stays, and so does its first favourite.
    ToggleDuplicateAutoSelect(found.groups, false);
    NodeList ticked;
    for (const NodePtr& group : found.groups)
      for (const NodePtr& member : DuplicateGroupMembers(group))
        if (member->bSelect()) ticked.push_back(member);
    if (ctx.args.Has("--json"))
      WriteJson(ctx.out, NodesToJson(ticked));
    else
      PrintNodeLines(ctx.out, ticked);
    ctx.err << found.groups.size() << " duplicate group" << (found.groups.size() == 1 ? "" : "s") << ", "
            << ticked.size() << " to remove\n";
    return RemoveFindings(ctx, loaded, *view, ticked);
  }
  if (ctx.args.Has("--json")) {
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const NodePtr& group : found.groups) {
      nlohmann::ordered_json entry;
      entry["key"] = DuplicateKey(group->urlString().value_or(""));
      entry["title"] = OptionalText(group->thetitle());
      entry["url"] = OptionalText(group->urlString());
      entry["members"] = NodesToJson(DuplicateGroupMembers(group));
      out.push_back(std::move(entry));
    }
    WriteJson(ctx.out, out);
  } else {
    for (const NodePtr& group : found.groups) {
      const NodeList members = DuplicateGroupMembers(group);
      WriteLine(ctx.out, DuplicateKey(group->urlString().value_or("")) + "  (" + std::to_string(members.size()) + ")");
      std::ostringstream lines;
      PrintNodeLines(lines, members);
      std::istringstream split(lines.str());
      for (std::string line; std::getline(split, line);) ctx.out << "  " << line << "\n";
    }
  }
  ctx.err << found.groups.size() << " duplicate group" << (found.groups.size() == 1 ? "" : "s") << ", "
          << found.bookmarkCount << " bookmark" << (found.bookmarkCount == 1 ? "" : "s") << "\n";
  return loaded.exitCode();
}

}  // namespace linvara::cli

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "cli/FindingsRemoval.h"
#include "cli/LoadedView.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"
#include "cli/Output.h"

namespace linvara::cli {
namespace {

// A whole number of at least 1, or nullopt.
std::optional<int> PositiveCount(const std::string& text) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int n = std::stoi(text);
  return n >= 1 ? std::optional<int>(n) : std::nullopt;
}

// Seconds, fractions allowed, more than 0 and at most a day.
std::optional<std::chrono::milliseconds> PositiveSeconds(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (!end || *end != '\0' || !std::isfinite(seconds) || seconds <= 0 || seconds > 86400) return std::nullopt;
  return std::chrono::milliseconds(std::max<long long>(1, std::llround(seconds * 1000)));
}

// Reads --concurrency, --per-host and --timeout over the defaults; false after a usage error.
bool ReadProbeOptions(const CommandContext& ctx, ProbeSettings& settings) {
  auto bad = [&](const std::string& option, const std::string& value, const char* expected) {
    ctx.UsageError(option + " '" + value + "' is not " + expected);
    return false;
  };
  if (auto v = ctx.args.Value("--concurrency")) {
    auto n = PositiveCount(*v);
    if (!n) return bad("--concurrency", *v, "a whole number of at least 1");
    settings.concurrency = *n;
  }
  if (auto v = ctx.args.Value("--per-host")) {
    auto n = PositiveCount(*v);
    if (!n) return bad("--per-host", *v, "a whole number of at least 1");
    settings.perHost = *n;
  }
  if (auto v = ctx.args.Value("--timeout")) {
    auto t = PositiveSeconds(*v);
    if (!t) return bad("--timeout", *v, "a number of seconds above 0");
    settings.timeout = *t;
  }
  settings = SanitizedProbeSettings(settings);
  return true;
}

// The progress line: a bar redrawn in place on a terminal, otherwise a line at
// every tenth of the way.
class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& err) : err_(err), live_(&err == &std::cerr && ::isatty(STDERR_FILENO)) {}

  void Update(std::size_t probed, std::size_t total) {
    if (live_) {
      constexpr std::size_t kWidth = 30;
      const std::size_t filled = total ? probed * kWidth / total : kWidth;
      err_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '-') << "] " << probed << " of "
           << total << " probed" << std::flush;
      drawn_ = true;
      return;
    }
    const std::size_t tenth = total ? probed * 10 / total : 10;
    if (tenth == lastTenth_ && probed != total) return;
    if (probed == total && reportedEnd_) return;
    lastTenth_ = tenth;
    reportedEnd_ = probed == total;
    err_ << "probed " << probed << " of " << total << "\n";
  }

  void End() {
    if (live_ && drawn_) err_ << "\n";
  }

 private:
  std::ostream& err_;
  bool live_;
  bool drawn_ = false;
  bool reportedEnd_ = false;
  std::size_t lastTenth_ = static_cast<std::size_t>(-1);
};

}  // namespace

int RunDeadLinks(CommandContext& ctx) {
  auto view = ViewOption(ctx);
  if (!view) return 2;
  ProbeSettings settings;
  if (!ReadProbeOptions(ctx, settings)) return 2;
  if (!RequireHomeFolder(ctx)) return 1;
  const bool remove = ctx.args.Has("--remove");
  if (ctx.args.Has("--yes") && !remove) return ctx.UsageError("--yes goes with --remove");
  if (remove)
    if (auto refused = RemovalRefused(ctx, *view, true)) return *refused;

  LoadedView loaded = LoadView(ctx, *view);
  ProgressLine progress(ctx.err);
  const UnreachableFindings found =
      loaded.FindUnreachable(settings, [&](std::size_t probed, std::size_t total) { progress.Update(probed, total); });
  const NodeList& dead = found.dead;
  progress.End();

  if (ctx.args.Has("--json"))
    WriteNodesJson(ctx.out, dead);
  else
    PrintNodeLines(ctx.out, dead);
  if (found.notChecked > 0) WriteLine(ctx.err, std::to_string(found.notChecked) + " bookmarks not checked: not web addresses");
  ctx.err << dead.size() << " unreachable bookmark" << (dead.size() == 1 ? "" : "s") << "\n";
  return remove ? RemoveFindings(ctx, loaded, *view, dead) : loaded.exitCode();
}

}  // namespace linvara::cli

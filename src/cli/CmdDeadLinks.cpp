#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>

#include "cli/CliApp.h"
#include "cli/NodeJson.h"
#include "cli/NodeText.h"

namespace linvara::cli {
namespace {

constexpr const char* kDeadLinksUsage =
    "linvara-cli [--home DIR] [--layout macos|linux] dead-links [--view all|safari|chrome] [--json] "
    "[--concurrency N] [--per-host N] [--timeout S]";

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
bool ReadProbeOptions(const CliContext& ctx, ProbeSettings& settings) {
  auto bad = [&](const std::string& option, const std::string& value, const char* expected) {
    ctx.err << "linvara-cli: " << option << " '" << value << "' is not " << expected << "\nusage: " << kDeadLinksUsage
            << "\n";
    return false;
  };
  if (auto v = OptionValue(ctx.args, "--concurrency")) {
    auto n = PositiveCount(*v);
    if (!n) return bad("--concurrency", *v, "a whole number of at least 1");
    settings.concurrency = *n;
  }
  if (auto v = OptionValue(ctx.args, "--per-host")) {
    auto n = PositiveCount(*v);
    if (!n) return bad("--per-host", *v, "a whole number of at least 1");
    settings.perHost = *n;
  }
  if (auto v = OptionValue(ctx.args, "--timeout")) {
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

int RunDeadLinks(CliContext& ctx) {
  if (!CheckArguments(ctx, {"--json"}, {"--view", "--concurrency", "--per-host", "--timeout"}, 0, kDeadLinksUsage))
    return 2;
  auto view = ViewOption(ctx);
  if (!view) return 2;
  ProbeSettings settings;
  if (!ReadProbeOptions(ctx, settings)) return 2;
  if (!RequireHomeFolder(ctx)) return 1;

  auto app = MakeCliAppDelegate(ctx);
  LoadView(*app, *view, ctx.err);
  app->linkHealth().deadLinkProbeSettings = settings;
  ProgressLine progress(ctx.err);
  app->linkHealth().observers.deadScanProgress = [&](std::size_t probed, std::size_t total) {
    progress.Update(probed, total);
  };
  app->linkHealth().StartScanDeadURlThread();
  while (!app->linkHealth().WaitForWorkers(std::chrono::seconds(1))) {
  }
  progress.End();

  const NodeList& dead = app->lists().deadURLArray;
  if (HasFlag(ctx.args, "--json"))
    ctx.out << DumpJson(NodesToJson(dead)) << "\n";
  else
    PrintNodeLines(ctx.out, dead);
  if (app->linkHealth().deadLinksNotChecked > 0)
    ctx.err << app->linkHealth().deadLinksNotChecked << " bookmarks not checked: not web addresses\n";
  ctx.err << dead.size() << " unreachable bookmark" << (dead.size() == 1 ? "" : "s") << "\n";
  return 0;
}

const CommandRegistrar kDeadLinks{
    "dead-links",
    "probe every bookmark and print the unreachable ones (--view, --json, --concurrency, --per-host, --timeout)",
    RunDeadLinks};

}  // namespace
}  // namespace linvara::cli

#pragma once
// The controller as the command line drives it: an inline dispatcher, a
// screen that prints every alert to stderr and answers its default button,
// in-memory preferences, and the three bookmark views read as the window
// reads them.
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "app/AppDelegate.h"
#include "cli/CommandRegistry.h"

namespace linvara::cli {

class CliScreen : public ScreenInterface {
 public:
  explicit CliScreen(std::ostream& err) : err_(err) {}
  void ShowAlert(const AlertSpec& alert, std::function<void(AlertResponse)> done) override;

 private:
  std::ostream& err_;
};

std::unique_ptr<AppDelegate> MakeCliAppDelegate(const CliContext& ctx,
                                                std::shared_ptr<PlatformServices> platform = nullptr);

enum class CliView { All, Safari, Chrome };
// "all", "safari" or "chrome".
std::optional<CliView> ParseCliView(const std::string& name);

struct LoadedView {
  NodeList topLevel;  // all: the unified top level; safari: safariFatherArray; chrome: ChromeFatherArray
  NodeList flat;      // all: allbookMarkArray; safari: safariBookMarkArray; chrome: chromebookMarkArray
};

// Reads the view's browsers into the controller. A running browser does not
// stop the read: a warning goes to `err`.
LoadedView LoadView(AppDelegate& app, CliView view, std::ostream& err);

// The --view option of a command (default all); nullopt after printing a usage error.
std::optional<CliView> ViewOption(const CliContext& ctx);

// True when the home folder exists; otherwise says so on stderr.
bool RequireHomeFolder(const CliContext& ctx);

// Checks that every argument is a known flag, a known valued option with its
// value, or one of `positionals` many plain arguments; prints the problem otherwise.
bool CheckArguments(const CliContext& ctx, const std::vector<std::string>& flags,
                    const std::vector<std::string>& valued, std::size_t positionals, const std::string& usage);

}  // namespace linvara::cli

#include <ostream>

#include "cli/CommandRegistry.h"
#include "profile/DemoProfile.h"

namespace linvara::cli {

namespace {
int RunMakeDemo(CliContext& ctx) {
  auto positional = Positionals(ctx.args, {});
  if (positional.size() != 1) {
    ctx.err << "usage: linvara-cli make-demo DIR\n";
    return 2;
  }
  Locations demo = Locations::ForHome(positional[0], Layout::MacOS);
  auto r = profile::MakeDemoProfile(demo);
  if (!r) {
    ctx.err << "linvara-cli: " << r.error() << "\n";
    return 1;
  }
  ctx.out << "demo profile written to " << demo.home().string() << "\n";
  return 0;
}
const CommandRegistrar kMakeDemo{"make-demo", "write the demo profile into DIR (macOS layout)", RunMakeDemo};
}  // namespace

}  // namespace linvara::cli

#include "cli/Commands.h"
#include "cli/Output.h"
#include "profile/DemoProfile.h"

namespace linvara::cli {

int RunMakeDemo(CommandContext& ctx) {
  Locations demo = Locations::ForHome(ctx.args.positionals[0], Layout::MacOS);
  auto made = profile::MakeDemoProfile(demo);
  if (!made) {
    ErrorLine(ctx.err, made.error());
    return 1;
  }
  WriteLine(ctx.out, "demo profile written to " + demo.home().string());
  return 0;
}

}  // namespace linvara::cli

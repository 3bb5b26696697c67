#include "cli/DemoProfile.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "cli/CommandRegistry.h"

namespace linvara::cli {

std::vector<DemoPart>& DemoParts() {
  static std::vector<DemoPart> parts;
  return parts;
}

DemoPartRegistrar::DemoPartRegistrar(std::string name, DemoPartFn build) {
  DemoParts().push_back({std::move(name), std::move(build)});
}

Result<void> MakeDemoProfile(const Locations& home) {
  auto parts = DemoParts();
  std::sort(parts.begin(), parts.end(), [](const DemoPart& a, const DemoPart& b) { return a.name < b.name; });
  std::error_code ec;
  std::filesystem::create_directories(home.home(), ec);
  if (ec) return Fail("cannot create " + home.home().string() + ": " + ec.message());
  for (const auto& part : parts) {
    auto r = part.build(home);
    if (!r) return Fail(part.name + ": " + r.error());
  }
  return {};
}

namespace {
int RunMakeDemo(CliContext& ctx) {
  auto positional = Positionals(ctx.args, {});
  if (positional.size() != 1) {
    ctx.err << "usage: linvara-cli make-demo DIR\n";
    return 2;
  }
  Locations demo = Locations::ForHome(positional[0], Layout::MacOS);
  auto r = MakeDemoProfile(demo);
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

#include "cli/DemoProfile.h"

#include <algorithm>
#include <filesystem>

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

}  // namespace linvara::cli

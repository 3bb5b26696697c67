#pragma once
// The demo profile: a generated home folder with every browser's files, built
// by `linvara-cli make-demo DIR`. Each subsystem contributes its part through
// a DemoPartRegistrar in its own file.
#include <functional>
#include <string>
#include <vector>

#include "model/Result.h"
#include "platform/Locations.h"

namespace linvara::cli {

using DemoPartFn = std::function<Result<void>(const Locations& home)>;

struct DemoPart {
  std::string name;
  DemoPartFn build;
};

std::vector<DemoPart>& DemoParts();

struct DemoPartRegistrar {
  DemoPartRegistrar(std::string name, DemoPartFn build);
};

// Builds every registered part into `home` (macOS layout), in name order.
Result<void> MakeDemoProfile(const Locations& home);

}  // namespace linvara::cli

#pragma once
#include <string>

namespace linvara {
// The running program's version, "major.minor.patch".
std::string ApplicationVersion();
}

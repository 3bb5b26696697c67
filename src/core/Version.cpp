#include "core/Version.h"
#include "core/VersionInfo.h"

namespace linvara {
std::string ApplicationVersion() { return LINVARA_VERSION_STRING; }
}

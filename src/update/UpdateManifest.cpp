#include "update/UpdateManifest.h"

#include <algorithm>
#include <cstdlib>

#include "model/PropertyList.h"
#include "platform/MakerSite.h"
#include "update/VersionCompare.h"

namespace linvara {

std::string DefaultManifestUrl() { return std::string(kMakerSite) + "/product/linvaraVersion.plist"; }

std::string ResolveManifestUrl(const std::string& given) {
  if (!given.empty()) return given;
  const char* fromEnvironment = std::getenv("LINVARA_UPDATE_URL");
  return fromEnvironment && *fromEnvironment ? fromEnvironment : DefaultManifestUrl();
}

Result<UpdateCheckOutcome> EvaluateManifest(std::string_view body, const std::string& currentVersion) {
  Result<Value> parsed = ParsePropertyList(body);
  if (!parsed) return Fail("the update manifest is not a property list", ErrorKind::Malformed);
  const DictPtr manifest = parsed->asDict();
  if (!manifest) return Fail("the update manifest is not a dictionary", ErrorKind::Malformed);
  UpdateCheckOutcome outcome;
  outcome.current = currentVersion;
  outcome.latest = manifest->getString("lastestVersion").value_or(std::string());
  outcome.whatsNew = manifest->getString("WhatsNew").value_or(std::string());
  if (!VersionParts(outcome.latest))
    return Fail("the update manifest names no valid version ('" + outcome.latest + "')", ErrorKind::Malformed);
  outcome.newer = CompareOneString(outcome.latest, currentVersion);
  return outcome;
}

std::string WhatsNewForDisplay(std::string_view whatsNew) {
  std::string shown(whatsNew);
  std::replace(shown.begin(), shown.end(), '*', '\r');
  return shown;
}

}  // namespace linvara

#pragma once
// The update manifest: a property-list dictionary naming the newest version
// ("lastestVersion") and its release notes ("WhatsNew"), and what it means for
// the running version. Parsed in memory; nothing is written.
#include <string>
#include <string_view>

#include "model/Result.h"

namespace linvara {

// Where the manifest is published.
std::string DefaultManifestUrl();
// The address a check uses: the one given (--update-url), else the environment's
// LINVARA_UPDATE_URL, else the published one.
std::string ResolveManifestUrl(const std::string& given);

struct UpdateCheckOutcome {
  std::string current;   // the running version
  std::string latest;    // "lastestVersion"
  std::string whatsNew;  // "WhatsNew" as published; empty when absent
  bool newer = false;    // latest is newer than current
};

// Malformed unless the body is a property-list dictionary whose "lastestVersion"
// is a dotted version of whole numbers.
Result<UpdateCheckOutcome> EvaluateManifest(std::string_view body, const std::string& currentVersion);

// The release notes as the update window shows them: each "*" starts a new line ("\r").
std::string WhatsNewForDisplay(std::string_view whatsNew);

}  // namespace linvara

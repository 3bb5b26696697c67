// linvara-cli update-check: the published manifest against this version.
#include <ostream>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "update/ManifestFetch.h"
#include "update/PRUpdateController.h"
#include "update/UpdateManifest.h"

namespace linvara::cli {

int RunUpdateCheck(CommandContext& ctx) {
  ManifestRequest request;
  request.url = ResolveManifestUrl(ctx.args.Value("--update-url").value_or(std::string()));
  const std::string current = PRUpdateController::ProjectVersion();
  request.userAgent = "Linvara/" + current;
  Result<std::string> body = FetchManifest(request);
  Result<UpdateCheckOutcome> outcome =
      body ? EvaluateManifest(*body, current) : Result<UpdateCheckOutcome>(body.failure());
  if (!outcome) {
    ErrorLine(ctx.err, "could not check for updates: " + outcome.error());
    return 1;
  }
  if (ctx.args.Has("--json")) {
    WriteJson(ctx.out, {{"current", outcome->current},
                        {"latest", outcome->latest},
                        {"newer", outcome->newer},
                        {"whatsNew", outcome->whatsNew}});
  } else if (outcome->newer) {
    WriteLine(ctx.out, "Linvara " + outcome->latest + " is available (this is " + current + ").");
    if (!outcome->whatsNew.empty()) {
      const std::string notes = WhatsNewForDisplay(outcome->whatsNew);
      std::size_t start = 0;
      for (std::size_t end; (end = notes.find('\r', start)) != std::string::npos; start = end + 1)
        WriteLine(ctx.out, "  " + notes.substr(start, end - start));
      WriteLine(ctx.out, "  " + notes.substr(start));
    }
  } else {
    WriteLine(ctx.out, "Linvara " + current + " is up to date (latest published: " + outcome->latest + ").");
  }
  return 0;
}

}  // namespace linvara::cli

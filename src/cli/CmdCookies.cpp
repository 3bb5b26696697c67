// linvara-cli cookies: list, export or clear the cookies of Safari, Chrome or a given file.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "cookies/CookieFiles.h"

namespace fs = std::filesystem;

namespace linvara::cli {
namespace {

struct CookieSource {
  fs::path path;
  CookieFileKind kind = CookieFileKind::Unknown;
  bool browser = false;  // a browser's own file (a missing one simply has no cookies)
};

std::optional<CookieSource> BrowserSource(const CommandContext& ctx, const std::string& name) {
  if (name == "safari") {
    fs::path path = ctx.locations.safariCookies();
    if (path.empty()) {
      ErrorLine(ctx.err, "Safari keeps no cookie file in the " + LayoutName(ctx.locations.layout()) + " layout");
      return std::nullopt;
    }
    return CookieSource{path, CookieFileKind::Binary, true};
  }
  if (name == "chrome") return CookieSource{ctx.locations.chromeCookies(), CookieFileKind::Database, true};
  return std::nullopt;
}

nlohmann::ordered_json TextOrNull(const std::optional<std::string>& text) {
  return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json CookiesToJson(const CookieList& cookies) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const auto& c : cookies) {
    array.push_back({{"host", TextOrNull(c->fileHost)},
                     {"name", TextOrNull(c->fileName)},
                     {"path", TextOrNull(c->filePath)},
                     {"value", TextOrNull(c->fileValue)},
                     {"secure", c->secureValue},
                     {"expires", TextOrNull(c->expiredDate)},
                     {"hasExpired", c->hasExpired}});
  }
  return array;
}

void PrintCookieTable(std::ostream& out, const CookieList& cookies) {
  out << "HOST\tNAME\tPATH\tSECURE\tEXPIRES\tVALUE\n";
  for (const auto& c : cookies) {
    WriteLine(out, OrNullText(c->fileHost) + '\t' + OrNullText(c->fileName) + '\t' + OrNullText(c->filePath) + '\t' +
                       c->secureValue + '\t' + OrNullText(c->expiredDate) + '\t' + OrNullText(c->fileValue));
  }
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// The browser named by the argument of export or clear: 0 and the source, or
// the exit code after saying what is wrong.
int BrowserArgument(const CommandContext& ctx, CookieSource& source) {
  const std::string& name = ctx.args.positionals[0];
  if (name != "safari" && name != "chrome") return ctx.UsageError(ctx.command.name + " takes safari or chrome");
  auto browser = BrowserSource(ctx, name);
  if (!browser) return 1;
  source = *browser;
  return 0;
}
}  // namespace

int RunCookieList(CommandContext& ctx) {
  const std::string& what = ctx.args.positionals[0];
  CookieSource source;
  if (what == "safari" || what == "chrome") {
    auto browser = BrowserSource(ctx, what);
    if (!browser) return 1;
    source = *browser;
  } else {
    source.path = what;
    if (!Exists(source.path)) {
      ErrorLine(ctx.err, "no file at " + what);
      return 1;
    }
    source.kind = DetectCookieFileKind(source.path);
    if (source.kind == CookieFileKind::Unknown) {
      ErrorLine(ctx.err, what + " is neither a binary cookie file nor an SQLite database");
      return 1;
    }
  }
  if (source.browser && !Exists(source.path)) ErrorLine(ctx.err, "no cookie file at " + source.path.string());
  CookieList cookies;
  ReadCookieFile(source.path, source.kind, cookies);
  if (ctx.args.Has("--json"))
    WriteJson(ctx.out, CookiesToJson(cookies));
  else
    PrintCookieTable(ctx.out, cookies);
  return 0;
}

int RunCookieExport(CommandContext& ctx) {
  CookieSource source;
  if (int failed = BrowserArgument(ctx, source)) return failed;
  CookieList cookies;
  ReadCookieFile(source.path, source.kind, cookies);
  const fs::path folder = ctx.args.Value("--out").value_or(ctx.locations.cookieExportFolder().string());
  auto written = ExportCookieData(cookies, folder);
  if (!written) {
    ErrorLine(ctx.err, written.error());
    return 1;
  }
  WriteLine(ctx.out,
            "exported " + std::to_string(cookies.size()) + " cookies to " + (folder / "cookiedata.txt").string());
  return 0;
}

int RunCookieClear(CommandContext& ctx) {
  CookieSource source;
  if (int failed = BrowserArgument(ctx, source)) return failed;
  if (!ctx.args.Has("--yes")) {
    ErrorLine(ctx.err, "this removes every cookie in " + source.path.string() + "; add --yes to go ahead");
    return 2;
  }
  if (!Exists(source.path)) {
    ErrorLine(ctx.err, "no cookie file at " + source.path.string());
    return 1;
  }
  // Never overwrite a file that is not what it should be.
  if (DetectCookieFileKind(source.path) != source.kind) {
    ErrorLine(ctx.err, source.path.string() + " is not a " +
                           (source.kind == CookieFileKind::Binary ? "binary cookie file" : "cookie database"));
    return 1;
  }
  auto removed = RemoveCookieData(source.path, source.kind == CookieFileKind::Binary);
  if (!removed) {
    ErrorLine(ctx.err, removed.error());
    return 1;
  }
  WriteLine(ctx.out, "removed every cookie from " + source.path.string());
  return 0;
}

}  // namespace linvara::cli

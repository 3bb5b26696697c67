// linvara-cli cookies: list, export or clear the cookies of Safari, Chrome or a given file.
#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CommandRegistry.h"
#include "cookies/CookieFiles.h"

namespace fs = std::filesystem;

namespace linvara::cli {
namespace {

constexpr const char* kUsage =
    "linvara-cli cookies safari|chrome|PATH [--json]\n"
    "       linvara-cli cookies export safari|chrome [--out DIR]\n"
    "       linvara-cli cookies clear safari|chrome --yes";

struct CookieSource {
  fs::path path;
  CookieFileKind kind = CookieFileKind::Unknown;
  bool browser = false;  // a browser's own file (a missing one simply has no cookies)
};

int Usage(CliContext& ctx, const std::string& problem = "") {
  if (!problem.empty()) ctx.err << "linvara-cli: " << problem << "\n";
  ctx.err << "usage: " << kUsage << "\n";
  return 2;
}

// Only the options a form knows, each once with its value where it takes one.
bool OnlyKnownOptions(CliContext& ctx, const std::vector<std::string>& flags, const std::vector<std::string>& valued) {
  for (std::size_t i = 0; i < ctx.args.size(); ++i) {
    const std::string& a = ctx.args[i];
    if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
      if (i + 1 >= ctx.args.size()) {
        Usage(ctx, a + " needs a value");
        return false;
      }
      ++i;
    } else if (a.rfind("--", 0) == 0 && std::find(flags.begin(), flags.end(), a) == flags.end()) {
      Usage(ctx, "unknown option '" + a + "'");
      return false;
    }
  }
  return true;
}

std::optional<CookieSource> BrowserSource(CliContext& ctx, const std::string& name) {
  if (name == "safari") {
    fs::path path = ctx.locations.safariCookies();
    if (path.empty()) {
      ctx.err << "linvara-cli: Safari keeps no cookie file in the " << LayoutName(ctx.locations.layout())
              << " layout\n";
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
    out << OrNullText(c->fileHost) << '\t' << OrNullText(c->fileName) << '\t' << OrNullText(c->filePath) << '\t'
        << c->secureValue << '\t' << OrNullText(c->expiredDate) << '\t' << OrNullText(c->fileValue) << '\n';
  }
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

int RunList(CliContext& ctx, const std::string& what) {
  if (!OnlyKnownOptions(ctx, {"--json"}, {})) return 2;
  CookieSource source;
  if (what == "safari" || what == "chrome") {
    auto browser = BrowserSource(ctx, what);
    if (!browser) return 1;
    source = *browser;
  } else {
    source.path = what;
    if (!Exists(source.path)) {
      ctx.err << "linvara-cli: no file at " << what << "\n";
      return 1;
    }
    source.kind = DetectCookieFileKind(source.path);
    if (source.kind == CookieFileKind::Unknown) {
      ctx.err << "linvara-cli: " << what << " is neither a binary cookie file nor an SQLite database\n";
      return 1;
    }
  }
  if (source.browser && !Exists(source.path))
    ctx.err << "linvara-cli: no cookie file at " << source.path.string() << "\n";
  CookieList cookies;
  ReadCookieFile(source.path, source.kind, cookies);
  if (HasFlag(ctx.args, "--json"))
    ctx.out << CookiesToJson(cookies).dump(2) << "\n";
  else
    PrintCookieTable(ctx.out, cookies);
  return 0;
}

int RunExport(CliContext& ctx, const std::vector<std::string>& positional) {
  if (!OnlyKnownOptions(ctx, {}, {"--out"})) return 2;
  if (positional.size() != 2) return Usage(ctx);
  auto source = BrowserSource(ctx, positional[1]);
  if (!source) return positional[1] == "safari" ? 1 : Usage(ctx, "export takes safari or chrome");
  CookieList cookies;
  ReadCookieFile(source->path, source->kind, cookies);
  const fs::path folder = OptionValue(ctx.args, "--out").value_or(ctx.locations.cookieExportFolder().string());
  auto written = ExportCookieData(cookies, folder);
  if (!written) {
    ctx.err << "linvara-cli: " << written.error() << "\n";
    return 1;
  }
  ctx.out << "exported " << cookies.size() << " cookies to " << (folder / "cookiedata.txt").string() << "\n";
  return 0;
}

int RunClear(CliContext& ctx, const std::vector<std::string>& positional) {
  if (!OnlyKnownOptions(ctx, {"--yes"}, {})) return 2;
  if (positional.size() != 2) return Usage(ctx);
  auto source = BrowserSource(ctx, positional[1]);
  if (!source) return positional[1] == "safari" ? 1 : Usage(ctx, "clear takes safari or chrome");
  if (!HasFlag(ctx.args, "--yes")) {
    ctx.err << "linvara-cli: this removes every cookie in " << source->path.string()
            << "; add --yes to go ahead\n";
    return 2;
  }
  if (!Exists(source->path)) {
    ctx.err << "linvara-cli: no cookie file at " << source->path.string() << "\n";
    return 1;
  }
  // Never overwrite a file that is not what it should be.
  if (DetectCookieFileKind(source->path) != source->kind) {
    ctx.err << "linvara-cli: " << source->path.string() << " is not a "
            << (source->kind == CookieFileKind::Binary ? "binary cookie file" : "cookie database") << "\n";
    return 1;
  }
  auto removed = RemoveCookieData(source->path, source->kind == CookieFileKind::Binary);
  if (!removed) {
    ctx.err << "linvara-cli: " << removed.error() << "\n";
    return 1;
  }
  ctx.out << "removed every cookie from " << source->path.string() << "\n";
  return 0;
}

int RunCookies(CliContext& ctx) {
  const std::vector<std::string> positional = Positionals(ctx.args, {"--out"});
  if (positional.empty()) return Usage(ctx);
  if (positional[0] == "export") return RunExport(ctx, positional);
  if (positional[0] == "clear") return RunClear(ctx, positional);
  if (positional.size() != 1) return Usage(ctx);
  return RunList(ctx, positional[0]);
}

const CommandRegistrar kCookies{"cookies",
                                "list (--json), export (--out DIR) or clear (--yes) the cookies of safari, chrome "
                                "or a cookie file",
                                RunCookies};

}  // namespace
}  // namespace linvara::cli

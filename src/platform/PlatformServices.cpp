#include "platform/PlatformServices.h"

#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/ProfileLocks.h"

extern char** environ;

namespace fs = std::filesystem;

namespace linvara {

namespace {
constexpr std::uint32_t FourCC(const char (&s)[5]) {
  return (std::uint32_t(std::uint8_t(s[0])) << 24) | (std::uint32_t(std::uint8_t(s[1])) << 16) |
         (std::uint32_t(std::uint8_t(s[2])) << 8) | std::uint32_t(std::uint8_t(s[3]));
}
}  // namespace

SystemVersion DecodeSystemVersion(const GestaltQuery& gestalt) {
  SystemVersion fallback{10, 0, 0};
  if (!gestalt) return fallback;
  auto packed = gestalt(FourCC("sysv"));
  if (!packed) return fallback;
  if (*packed < 0x1040) {
    auto v = static_cast<std::uint32_t>(*packed);
    return {((v >> 12) & 0xF) * 10 + ((v >> 8) & 0xF), (v >> 4) & 0xF, v & 0xF};
  }
  auto major = gestalt(FourCC("sys1"));
  auto minor = gestalt(FourCC("sys2"));
  auto fix = gestalt(FourCC("sys3"));
  if (!major || !minor || !fix) return fallback;
  return {static_cast<std::uint32_t>(*major), static_cast<std::uint32_t>(*minor), static_cast<std::uint32_t>(*fix)};
}

bool PlatformServices::IsRunning(const std::string& bundleIdentifier) {
  auto ids = RunningBundleIdentifiers();
  return std::find(ids.begin(), ids.end(), bundleIdentifier) != ids.end();
}

std::vector<std::string> RunningBrowsersFromProc(const fs::path& procFolder) {
  // Linux process names of each browser.
  static const std::map<std::string, std::string> kProcessToBundle = {
      {"chrome", bundleids::kChrome},         {"google-chrome", bundleids::kChrome},
      {"firefox", bundleids::kFirefox},       {"firefox-esr", bundleids::kFirefox},
      {"firefox-bin", bundleids::kFirefox},   {"opera", bundleids::kOpera},
      {"msedge", bundleids::kEdge},           {"microsoft-edge", bundleids::kEdge},
      {"chromium", bundleids::kChrome},       {"chromium-browse", bundleids::kChrome},  // names stop at 15 bytes
  };
  std::set<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(procFolder, ec)) {
    const std::string pid = entry.path().filename().string();
    if (pid.empty() || !std::all_of(pid.begin(), pid.end(), ::isdigit)) continue;
    std::ifstream comm(entry.path() / "comm");
    std::string name;
    if (!std::getline(comm, name)) continue;
    auto it = kProcessToBundle.find(name);
    if (it != kProcessToBundle.end()) found.insert(it->second);
  }
  return {found.begin(), found.end()};
}

std::vector<std::string> HostPlatformServices::RunningBundleIdentifiers() {
  if (!watched_) return RunningBrowsersFromProc(procFolder_);
  return RunningBrowsers(procFolder_, watched_->ProfileLocks(), HostName());
}

namespace {

// Starts the program with one argument and returns at once; a detached thread
// waits for it so it leaves no zombie. False when it could not be started.
bool SpawnDetached(const std::string& program, const std::string& argument) {
  std::string programArg = program, argumentArg = argument;
  char* argv[] = {programArg.data(), argumentArg.data(), nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
  try {
    std::thread([pid] {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread for the wait: the finished child stays a zombie until we exit.
  }
  return true;
}

bool IsAddressBlank(unsigned char c) { return c <= 0x20 || c == 0x7f; }

// The scheme of "scheme:rest", lower case; empty when the text has none.
std::string SchemeOf(const std::string& address) {
  const auto colon = address.find(':');
  if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(address[0]))) return "";
  std::string scheme;
  for (std::size_t i = 0; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(address[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return "";
    scheme.push_back(static_cast<char>(std::tolower(c)));
  }
  return scheme;
}

// "%xx" escapes decoded; nothing for a broken escape or an encoded NUL.
std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
      return std::nullopt;
    const char c = static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
    if (c == '\0') return std::nullopt;
    out.push_back(c);
    i += 2;
  }
  return out;
}

// The local path of "file:///path" or "file://localhost/path", without query and fragment.
std::optional<fs::path> LocalPathOf(const std::string& address) {
  std::string_view rest = std::string_view(address).substr(5);  // after "file:"
  if (!rest.starts_with("//")) return std::nullopt;
  rest.remove_prefix(2);
  const auto slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  std::string host(rest.substr(0, slash));
  std::transform(host.begin(), host.end(), host.begin(), [](unsigned char c) { return std::tolower(c); });
  if (!host.empty() && host != "localhost") return std::nullopt;
  rest.remove_prefix(slash);
  rest = rest.substr(0, rest.find_first_of("?#"));
  auto decoded = PercentDecoded(rest);
  if (!decoded) return std::nullopt;
  return fs::path(*decoded);
}

// True when `path` lies below `folder`, both taken with links and ".." resolved.
bool IsInsideFolder(const fs::path& path, const fs::path& folder) {
  std::error_code ec;
  const fs::path resolvedPath = fs::weakly_canonical(path, ec);
  if (ec) return false;
  const fs::path resolvedFolder = fs::weakly_canonical(folder, ec);
  if (ec || resolvedFolder.empty()) return false;
  const fs::path relative = resolvedPath.lexically_relative(resolvedFolder);
  return !relative.empty() && relative != "." && *relative.begin() != "..";
}

AddressOpenDecision Refused(std::string why) { return {false, std::move(why)}; }

}  // namespace

AddressOpenDecision DecideAddressOpen(const std::string& address, const fs::path& dataFolder) {
  const std::string scheme = SchemeOf(address);
  if (scheme.empty() || std::any_of(address.begin(), address.end(), [](unsigned char c) { return IsAddressBlank(c); }))
    return Refused("not a web address");
  if (scheme == "http" || scheme == "https") {
    const std::string_view rest = std::string_view(address).substr(scheme.size() + 1);
    if (!rest.starts_with("//") || rest.size() < 3 || rest[2] == '/') return Refused("not a valid web address");
    return {true, ""};
  }
  if (scheme == "file") {
    const auto path = LocalPathOf(address);
    if (!path || !path->is_absolute()) return Refused("not a valid file address");
    if (!IsInsideFolder(*path, dataFolder)) return Refused("a file outside Linvara's data folder");
    return {true, ""};
  }
  return Refused("addresses of the " + scheme + ": scheme are not opened");
}

std::string HostPlatformServices::DefaultOpener() {
#ifdef __APPLE__
  return "open";
#else
  return "xdg-open";
#endif
}

bool HostPlatformServices::OpenUrl(const std::string& url) { return SpawnDetached(opener_, url); }

bool HostPlatformServices::ShowFolder(const fs::path& folder) { return SpawnDetached(opener_, folder.string()); }

std::string HostPlatformServices::LoginName() {
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name) return pw->pw_name;
  if (const char* user = std::getenv("USER")) return user;
  return "";
}

SystemVersion HostPlatformServices::SystemVersionNumbers() {
  // There is no Gestalt here: every query fails, which gives 10.0.0.
  return DecodeSystemVersion([](std::uint32_t) -> std::optional<std::int32_t> { return std::nullopt; });
}

}  // namespace linvara

#include "platform/PlatformServices.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

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
  return RunningBrowsersFromProc("/proc");
}

namespace {
// Runs a program detached from our stdio; true when it could be started and exited 0.
bool RunDetached(const std::string& program, const std::string& argument) {
  pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    ::execlp(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
}  // namespace

bool HostPlatformServices::OpenUrl(const std::string& url) {
#ifdef __APPLE__
  return RunDetached("open", url);
#else
  return RunDetached("xdg-open", url);
#endif
}

bool HostPlatformServices::ShowFolder(const fs::path& folder) {
#ifdef __APPLE__
  return RunDetached("open", folder.string());
#else
  return RunDetached("xdg-open", folder.string());
#endif
}

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

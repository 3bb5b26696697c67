#pragma once
// The operating-system services the application calls, behind one narrow interface.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/BundleIds.h"
#include "platform/Locations.h"

namespace linvara {

struct SystemVersion {
  std::uint32_t major = 10;
  std::uint32_t minor = 0;
  std::uint32_t bugFix = 0;
  bool operator==(const SystemVersion&) const = default;
};

// A Gestalt-style query: the selector ('sysv', 'sys1', 'sys2', 'sys3') gives a number, or nullopt on failure.
using GestaltQuery = std::function<std::optional<std::int32_t>(std::uint32_t selector)>;

// Packed BCD below 0x1040 (4160), separate numbers from 0x1040 on; 10.0.0 when any query fails.
SystemVersion DecodeSystemVersion(const GestaltQuery& gestalt);

// Whether an address may be handed to the desktop to open, and why not.
struct AddressOpenDecision {
  bool allowed = false;
  std::string refusal;  // when refused: why, for the user
};

// The addresses a bookmark may open: http and https web addresses, and file:
// addresses of files inside `dataFolder` (the pages of encrypted bookmarks).
// Everything else is refused: other schemes (script, data, network shares,
// custom handlers), files elsewhere, and text that is no address.
AddressOpenDecision DecideAddressOpen(const std::string& address, const std::filesystem::path& dataFolder);

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;
  // Bundle identifiers of the applications running now.
  virtual std::vector<std::string> RunningBundleIdentifiers() = 0;
  // Opens an address with the desktop's handler (the default browser for a web
  // address) without waiting for it; false when the handler could not be started.
  virtual bool OpenUrl(const std::string& url) = 0;
  // Shows a folder in the file manager, the same way.
  virtual bool ShowFolder(const std::filesystem::path& folder) = 0;
  virtual std::string LoginName() = 0;
  virtual SystemVersion SystemVersionNumbers() = 0;

  bool IsRunning(const std::string& bundleIdentifier);
};

// The real services of this host. Addresses and folders are handed to the
// opener program ("xdg-open", "open" on macOS), started detached: a thread of
// its own reaps it, so the caller never waits for the desktop. A browser runs
// when a process of its name runs under `procFolder` or, given the locations
// the session reads, when it holds the lock of the profile chosen there.
class HostPlatformServices : public PlatformServices {
 public:
  explicit HostPlatformServices(std::string opener = DefaultOpener()) : opener_(std::move(opener)) {}
  explicit HostPlatformServices(Locations watched, std::filesystem::path procFolder = "/proc",
                                std::string opener = DefaultOpener())
      : opener_(std::move(opener)), watched_(std::move(watched)), procFolder_(std::move(procFolder)) {}
  static std::string DefaultOpener();

  std::vector<std::string> RunningBundleIdentifiers() override;
  bool OpenUrl(const std::string& url) override;
  bool ShowFolder(const std::filesystem::path& folder) override;
  std::string LoginName() override;
  SystemVersion SystemVersionNumbers() override;

 private:
  std::string opener_;
  std::optional<Locations> watched_;
  std::filesystem::path procFolder_ = "/proc";
};

// Linux: bundle identifiers of the browsers whose processes run, from the
// process names under a /proc-style folder. Chromium counts as Chrome.
std::vector<std::string> RunningBrowsersFromProc(const std::filesystem::path& procFolder);

// Scripted services for tests: everything recorded, nothing touches the host.
class FakePlatformServices : public PlatformServices {
 public:
  std::vector<std::string> running;
  std::vector<std::string> openedUrls;
  std::vector<std::filesystem::path> shownFolders;
  std::string login = "tester";
  SystemVersion version{10, 0, 0};
  bool openSucceeds = true;

  std::vector<std::string> RunningBundleIdentifiers() override { return running; }
  bool OpenUrl(const std::string& url) override {
    openedUrls.push_back(url);
    return openSucceeds;
  }
  bool ShowFolder(const std::filesystem::path& folder) override {
    shownFolders.push_back(folder);
    return true;
  }
  std::string LoginName() override { return login; }
  SystemVersion SystemVersionNumbers() override { return version; }
};

}  // namespace linvara

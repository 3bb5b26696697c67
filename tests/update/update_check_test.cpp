// The update check: version order, the manifest's address, manifests fetched
// from a loopback server, and the windows of the silent and the asked check.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "app/ScriptedScreen.h"
#include "health/LoopbackHttpServer.h"
#include "support/TestSupport.h"
#include "update/ManifestFetch.h"
#include "update/PRUpdateController.h"
#include "update/UpdateManifest.h"
#include "update/VersionCompare.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

std::string Manifest(const std::string& version) {
  return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>lastestVersion</key><string>" + version +
         "</string><key>WhatsNew</key><string>a*b*c</string></dict></plist>";
}

Result<std::string> Fetch(const std::string& url) {
  ManifestRequest request;
  request.url = url;
  return FetchManifest(request);
}

// Sets an environment variable for the life of the object.
struct ScopedEnv {
  std::string name;
  std::optional<std::string> saved;
  ScopedEnv(std::string n, const std::string& value) : name(std::move(n)) {
    if (const char* v = std::getenv(name.c_str())) saved = v;
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  ~ScopedEnv() { saved ? (void)::setenv(name.c_str(), saved->c_str(), 1) : (void)::unsetenv(name.c_str()); }
};

// A server with a route per kind of manifest.
struct ManifestServer {
  LoopbackHttpServer server;
  ManifestServer() {
    for (auto [route, version] : {std::pair{"/newer", "999.0"}, {"/older", "0.0.1"}, {"/ten", "1.10"}, {"/bad", "1.2b"}})
      server.Answer(route, Manifest(version));
    server.Answer("/same", Manifest(PRUpdateController::ProjectVersion()));
    server.Answer("/notplist", "<html>not a manifest</html>");
    server.Answer("/big", std::string(5u << 20, 'x'));
    server.Answer("/away", "", "302 Found", "Location: http://update.example.invalid/newer\r\n");
    server.Answer("/back", "", "302 Found", "Location: " + server.url("/newer") + "\r\n");
  }
};

TEST(VersionCompare, ComparesPartByPartAsNumbers) {
  const std::tuple<const char*, const char*, std::optional<int>> cases[] = {
      {"1.10", "1.9", 1},  {"2.0", "1.9.9", 1},   {"1.2", "1.2.0", 0},     {"1.9", "1.10", -1},
      {"01.02", "1.2", 0}, {"1.2.3", "1.2.4", -1}, {"123456789012345678901", "123456789012345678900", 1},
      {"1.2b", "1.0", std::nullopt}, {"", "1", std::nullopt}, {"1..2", "1", std::nullopt},
      {"1.", "1", std::nullopt},     {" 1", "1", std::nullopt}, {"-1", "0", std::nullopt}};
  for (const auto& [a, b, order] : cases) {
    EXPECT_EQ(CompareVersions(a, b), order) << a << " vs " << b;
    EXPECT_EQ(CompareOneString(a, b), order == 1) << a << " vs " << b;
  }
}

TEST(ManifestAddress, IsHttpsOrLoopbackHttp) {
  const std::pair<const char*, bool> cases[] = {
      {"https://www.zelvane.com/product/linvaraVersion.plist", true}, {"http://127.0.0.1:8080/m", true},
      {"http://[::1]:80/m", true},          {"http://localhost/m", true},
      {"http://www.zelvane.com/m", false},  {"http://127.0.0.1.example.com/m", false},
      {"ftp://127.0.0.1/m", false},         {"not an address", false}};
  for (const auto& [url, allowed] : cases) EXPECT_EQ(CheckManifestAddress(url).ok(), allowed) << url;
}

TEST(ManifestAddress, GivenOneWinsOverTheEnvironmentsWhichWinsOverThePublished) {
  ::unsetenv("LINVARA_UPDATE_URL");
  EXPECT_EQ(ResolveManifestUrl(""), "https://www.zelvane.com/product/linvaraVersion.plist");
  ScopedEnv env("LINVARA_UPDATE_URL", "http://127.0.0.1:1/env");
  EXPECT_EQ(ResolveManifestUrl(""), "http://127.0.0.1:1/env");
  EXPECT_EQ(ResolveManifestUrl("http://127.0.0.1:1/given"), "http://127.0.0.1:1/given");
}

TEST(UpdateFetch, EvaluatesEachKindOfManifest) {
  ManifestServer s;
  // Route, own version (null: the project's), whether it counts as newer; nullopt: the check fails.
  const std::tuple<const char*, const char*, std::optional<bool>> cases[] = {
      {"/newer", "0.1.0", true}, {"/same", nullptr, false}, {"/older", "0.1.0", false}, {"/ten", "1.9", true},
      {"/bad", "0.1.0", std::nullopt},  {"/notplist", "0.1.0", std::nullopt}, {"/big", "0.1.0", std::nullopt},
      {"/away", "0.1.0", std::nullopt}, {"/back", "0.1.0", std::nullopt},     {"/missing", "0.1.0", std::nullopt}};
  for (const auto& [route, current, newer] : cases) {
    Result<std::string> body = Fetch(s.server.url(route));
    auto outcome = body ? EvaluateManifest(*body, current ? current : PRUpdateController::ProjectVersion())
                        : Result<UpdateCheckOutcome>(body.failure());
    ASSERT_EQ(outcome.ok(), newer.has_value()) << route << ": " << (outcome ? "" : outcome.error());
    if (!newer) continue;
    EXPECT_EQ(outcome->newer, *newer) << route;
  }
  EXPECT_EQ(s.server.requestsFor("/newer"), 1) << "a redirect to plain http is not followed";
  EXPECT_EQ(Fetch(s.server.url("/big")).error(), "the answer is larger than 1 MB");
}

TEST(UpdateController, ShowsTheUpdateOrWhatTheAskedCheckFound) {
  TempDir scratch;
  ScopedEnv privateTemp("TMPDIR", scratch.path().string());
  const bool fixedFileBefore = fs::exists("/tmp/version.plist");
  ManifestServer s;
  // Route (null: nothing listens), asked by the user, windows shown, start of the alert.
  const std::tuple<const char*, bool, std::vector<std::string>, std::string> cases[] = {
      {"/newer", false, {"UpdateWindow"}, ""}, {"/newer", true, {"UpdateWindow"}, ""},
      {"/same", false, {}, ""},                {"/same", true, {"noUpdateWindow"}, ""},
      {"/older", true, {"noUpdateWindow"}, ""}, {"/notplist", false, {}, ""},
      {"/notplist", true, {}, "Could not check for updates: the update manifest is not a property list"},
      {nullptr, false, {}, ""},                {nullptr, true, {}, "Could not check for updates: "}};
  for (const auto& [route, asked, windows, alertStart] : cases) {
    AppServices services;
    auto dispatcher = std::make_shared<QueuedDispatcher>();
    auto screen = std::make_shared<ScriptedScreen>();
    services.dispatcher = dispatcher;
    services.screen = screen;
    BookmarkSession session(services);
    PRUpdateController updates(session, route ? s.server.url(route) : LoopbackHttpServer::RefusedUrl());
    updates.hidUpdateWindow();
    asked ? updates.CheckforUpdateAction() : (void)updates.checkServerVersion();
    ASSERT_TRUE(dispatcher->PumpUntil([&] { return !updates.checkRunning(); }));
    const std::string what = std::string(route ? route : "refused") + (asked ? " asked" : " silent");
    EXPECT_EQ(screen->windowsShown, windows) << what;
    ASSERT_EQ(screen->alerts.size(), alertStart.empty() ? 0u : 1u) << what;
    if (!alertStart.empty()) {
      EXPECT_EQ(screen->alerts[0].request.message.rfind(alertStart, 0), 0u) << what;
    }
  }
  EXPECT_EQ(fs::exists("/tmp/version.plist"), fixedFileBefore);
  EXPECT_TRUE(fs::is_empty(scratch.path())) << "the manifest is parsed in memory";
}

}  // namespace
}  // namespace linvara::testing

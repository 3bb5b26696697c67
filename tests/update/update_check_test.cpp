// The update check: version order, the manifest's address, fetching and
// evaluating manifests from a loopback server, and the windows of the silent
// and the asked check.
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

std::string Manifest(const std::string& version, const std::string& whatsNew = "a*b*c") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
         "<key>lastestVersion</key><string>" + version + "</string>"
         "<key>WhatsNew</key><string>" + whatsNew + "</string></dict></plist>";
}

// A server with one route per kind of manifest.
struct ManifestServer {
  LoopbackHttpServer server;
  ManifestServer() {
    server.Answer("/newer", Manifest("999.0"));
    server.Answer("/same", Manifest(PRUpdateController::ProjectVersion()));
    server.Answer("/older", Manifest("0.0.1"));
    server.Answer("/ten", Manifest("1.10"));
    server.Answer("/badversion", Manifest("1.2b"));
    server.Answer("/notplist", "<html>not a manifest</html>");
    server.Answer("/big", std::string(5u << 20, 'x'));
    server.Answer("/away", "", "302 Found", "Location: http://update.example.invalid/newer\r\n");
    server.Answer("/back", "", "302 Found", "Location: " + server.url("/newer") + "\r\n");
  }
  std::string url(const std::string& route) const { return server.url(route); }
};

TEST(VersionCompare, ComparesPartByPartAsNumbers) {
  struct Case {
    const char* a;
    const char* b;
    std::optional<int> order;
  } cases[] = {
      {"1.10", "1.9", 1},     {"2.0", "1.9.9", 1},   {"1.2", "1.2.0", 0},  {"1.2.0", "1.2", 0},
      {"1.9", "1.10", -1},    {"01.02", "1.2", 0},   {"1.2.3", "1.2.4", -1}, {"0.1.0", "0.0.9", 1},
      {"123456789012345678901234", "123456789012345678901233", 1},
      {"1.2b", "1.0", std::nullopt}, {"", "1", std::nullopt},   {"1..2", "1", std::nullopt},
      {"1.", "1", std::nullopt},     {" 1", "1", std::nullopt}, {"-1", "0", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareVersions(c.a, c.b), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareOneString(c.a, c.b), c.order == 1) << c.a << " vs " << c.b;
  }
}

TEST(ManifestAddress, AcceptsHttpsAndLoopbackHttpOnly) {
  const std::pair<const char*, bool> cases[] = {
      {"https://www.zelvane.com/product/linvaraVersion.plist", true},
      {"http://127.0.0.1:8080/m", true},
      {"http://127.9.9.9/m", true},
      {"http://[::1]:80/m", true},
      {"http://localhost/m", true},
      {"http://www.zelvane.com/product/linvaraVersion.plist", false},
      {"http://127.0.0.1.example.com/m", false},
      {"http://10.0.0.1/m", false},
      {"ftp://127.0.0.1/m", false},
      {"file:///etc/hostname", false},
      {"not an address", false},
  };
  for (const auto& [url, allowed] : cases) EXPECT_EQ(CheckManifestAddress(url).ok(), allowed) << url;
}

TEST(ManifestAddress, TakesTheGivenThenTheEnvironmentsThenThePublishedOne) {
  const char* saved = std::getenv("LINVARA_UPDATE_URL");
  const std::string restore = saved ? saved : "";
  ::unsetenv("LINVARA_UPDATE_URL");
  EXPECT_EQ(ResolveManifestUrl(""), "https://www.zelvane.com/product/linvaraVersion.plist");
  ::setenv("LINVARA_UPDATE_URL", "http://127.0.0.1:1/env", 1);
  EXPECT_EQ(ResolveManifestUrl(""), "http://127.0.0.1:1/env");
  EXPECT_EQ(ResolveManifestUrl("http://127.0.0.1:1/given"), "http://127.0.0.1:1/given");
  if (saved) ::setenv("LINVARA_UPDATE_URL", restore.c_str(), 1);
  else ::unsetenv("LINVARA_UPDATE_URL");
}

TEST(UpdateFetch, EvaluatesEachKindOfManifest) {
  ManifestServer s;
  struct Case {
    const char* route;
    const char* current;
    bool ok;
    bool newer;
  } cases[] = {
      {"/newer", "0.1.0", true, true},       {"/same", nullptr, true, false},
      {"/older", "0.1.0", true, false},      {"/ten", "1.9", true, true},
      {"/badversion", "0.1.0", false, false}, {"/notplist", "0.1.0", false, false},
      {"/big", "0.1.0", false, false},       {"/away", "0.1.0", false, false},
      {"/back", "0.1.0", false, false},      {"/missing", "0.1.0", false, false},
  };
  for (const Case& c : cases) {
    ManifestRequest request;
    request.url = s.url(c.route);
    Result<std::string> body = FetchManifest(request);
    const std::string current = c.current ? c.current : PRUpdateController::ProjectVersion();
    Result<UpdateCheckOutcome> outcome =
        body ? EvaluateManifest(*body, current) : Result<UpdateCheckOutcome>(body.failure());
    ASSERT_EQ(outcome.ok(), c.ok) << c.route << ": " << (outcome ? "" : outcome.error());
    if (c.ok) EXPECT_EQ(outcome->newer, c.newer) << c.route;
  }
  EXPECT_EQ(s.server.requestsFor("/newer"), 1) << "only its own case: a redirect to plain http is not followed";
  ManifestRequest big;
  big.url = s.url("/big");
  EXPECT_EQ(FetchManifest(big).error(), "the answer is larger than 1 MB");
}

struct UpdateHome {
  ManifestServer server;
  std::shared_ptr<QueuedDispatcher> dispatcher = std::make_shared<QueuedDispatcher>();
  std::shared_ptr<ScriptedScreen> screen = std::make_shared<ScriptedScreen>();
  std::shared_ptr<FakePlatformServices> platform = std::make_shared<FakePlatformServices>();
  std::unique_ptr<BookmarkSession> session;
  std::unique_ptr<PRUpdateController> updates;

  // The manifest at `route` of the server; null: an address where nothing listens.
  explicit UpdateHome(const char* route) {
    AppServices services;
    services.dispatcher = dispatcher;
    services.screen = screen;
    services.platform = platform;
    session = std::make_unique<BookmarkSession>(services);
    updates = std::make_unique<PRUpdateController>(*session,
                                                   route ? server.url(route) : LoopbackHttpServer::RefusedUrl());
  }
  // The launch's silent check, or the user's command; then waits for its end.
  void Check(bool asked) {
    updates->hidUpdateWindow();
    asked ? updates->CheckforUpdateAction() : (void)updates->checkServerVersion();
    EXPECT_TRUE(dispatcher->PumpUntil([&] { return !updates->checkRunning(); }));
  }
  std::string Text(const char* outlet) const { return session->viewState().findText(outlet)->text; }
};

TEST(UpdateController, ShowsTheUpdateOrWhatTheAskedCheckFound) {
  TempDir scratch;
  const fs::path privateTemp = scratch / "tmp";
  fs::create_directories(privateTemp);
  const char* savedTemp = std::getenv("TMPDIR");
  const std::string restoreTemp = savedTemp ? savedTemp : "";
  ::setenv("TMPDIR", privateTemp.c_str(), 1);
  const bool fixedFileBefore = fs::exists("/tmp/version.plist");

  struct Case {
    const char* route;  // null: nothing listens
    bool asked;
    std::vector<std::string> windows;
    std::string alertStart;
  } cases[] = {
      {"/newer", false, {"UpdateWindow"}, ""},
      {"/newer", true, {"UpdateWindow"}, ""},
      {"/same", false, {}, ""},
      {"/same", true, {"noUpdateWindow"}, ""},
      {"/older", true, {"noUpdateWindow"}, ""},
      {"/notplist", false, {}, ""},
      {"/notplist", true, {}, "Could not check for updates: the update manifest is not a property list"},
      {nullptr, false, {}, ""},
      {nullptr, true, {}, "Could not check for updates: "},
  };
  for (const Case& c : cases) {
    UpdateHome h(c.route);
    h.Check(c.asked);
    const std::string what = std::string(c.route ? c.route : "refused") + (c.asked ? " asked" : " silent");
    EXPECT_EQ(h.screen->windowsShown, c.windows) << what;
    ASSERT_EQ(h.screen->alerts.size(), c.alertStart.empty() ? 0u : 1u) << what;
    if (!c.alertStart.empty()) EXPECT_EQ(h.screen->alerts[0].request.message.rfind(c.alertStart, 0), 0u) << what;
  }

  EXPECT_EQ(fs::exists("/tmp/version.plist"), fixedFileBefore);
  EXPECT_TRUE(fs::is_empty(privateTemp)) << "the manifest is parsed in memory";
  savedTemp ? (void)::setenv("TMPDIR", restoreTemp.c_str(), 1) : (void)::unsetenv("TMPDIR");
}

TEST(UpdateController, UpdateWindowNamesBothVersionsAndTheNotesLineByLine) {
  UpdateHome h("/newer");
  h.Check(false);
  const std::string current = PRUpdateController::ProjectVersion();
  EXPECT_EQ(h.updates->currentVersion, current);
  EXPECT_EQ(h.Text("newversionlab"), "Linvara 999.0 is available.");
  EXPECT_EQ(h.Text("currentversionlab"), "You are using " + current + " version. Would you like to download it now?");
  EXPECT_EQ(h.Text("whatsnewContentView"), "a\rb\rc");
  h.updates->ClickGoDownloadAction();
  EXPECT_EQ(h.platform->openedUrls, std::vector<std::string>{"https://www.zelvane.com/linvara.html"});
  h.updates->ClickNotNowAction();
  EXPECT_FALSE(h.screen->IsWindowVisible("UpdateWindow"));
}

}  // namespace
}  // namespace linvara::testing

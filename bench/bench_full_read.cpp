// Full read of all browsers on a generated home: 30,000 bookmarks per browser
// (Safari as a binary property list, Chrome, Edge and Opera JSON, Firefox
// places.sqlite), about 150,000 in all. Reports the time of one full read and
// the peak resident memory of the process while reading.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/AppDelegate.h"
#include "app/ScriptedScreen.h"
#include "model/FileBytes.h"
#include "model/Json.h"
#include "model/PropertyList.h"
#include "readers/ChromiumReader.h"
#include "readers/FirefoxReader.h"
#include "readers/SafariReader.h"

namespace fs = std::filesystem;
using namespace linvara;

namespace {

constexpr int kPerBrowser = 30000;
constexpr int kPerFolder = 100;

void WriteFile(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string Url(const std::string& browser, int i) {
  return "https://site" + std::to_string(i % 5000) + ".example.com/" + browser + "/page/" + std::to_string(i);
}

void MakeSafari(const Locations& loc) {
  auto children = Array::make();
  for (int f = 0; f < kPerBrowser / kPerFolder; ++f) {
    auto folderChildren = Array::make();
    for (int i = 0; i < kPerFolder; ++i) {
      int n = f * kPerFolder + i;
      auto leaf = Dictionary::make();
      auto uri = Dictionary::make();
      uri->set("title", "Safari bookmark " + std::to_string(n));
      leaf->set("URIDictionary", uri);
      leaf->set("URLString", Url("safari", n));
      leaf->set("WebBookmarkType", "WebBookmarkTypeLeaf");
      leaf->set("WebBookmarkUUID", "UUID-S-" + std::to_string(n));
      folderChildren->append(leaf);
    }
    auto folder = Dictionary::make();
    folder->set("Children", folderChildren);
    folder->set("Title", "Folder " + std::to_string(f));
    folder->set("WebBookmarkType", "WebBookmarkTypeList");
    folder->set("WebBookmarkUUID", "UUID-SF-" + std::to_string(f));
    children->append(folder);
  }
  auto root = Dictionary::make();
  root->set("Children", children);
  root->set("Title", "");
  root->set("WebBookmarkFileVersion", 1);
  root->set("WebBookmarkType", "WebBookmarkTypeList");
  WriteFile(loc.safariBookmarks(), SerializePropertyListBinary(Value(root)).value());
}

void MakeChromium(const fs::path& file, const std::string& browser) {
  auto bar = Dictionary::make();
  auto barChildren = Array::make();
  int id = 10;
  for (int f = 0; f < kPerBrowser / kPerFolder; ++f) {
    auto folderChildren = Array::make();
    for (int i = 0; i < kPerFolder; ++i) {
      int n = f * kPerFolder + i;
      auto url = Dictionary::make();
      url->set("date_added", "13350000000000000");
      url->set("guid", "guid-" + std::to_string(n));
      url->set("id", std::to_string(id++));
      url->set("name", browser + " bookmark " + std::to_string(n));
      url->set("type", "url");
      url->set("url", Url(browser, n));
      folderChildren->append(url);
    }
    auto folder = Dictionary::make();
    folder->set("children", folderChildren);
    folder->set("id", std::to_string(id++));
    folder->set("name", "Folder " + std::to_string(f));
    folder->set("type", "folder");
    barChildren->append(folder);
  }
  bar->set("children", barChildren);
  bar->set("id", "1");
  bar->set("name", "Bookmarks bar");
  bar->set("type", "folder");
  auto roots = Dictionary::make();
  roots->set("bookmark_bar", bar);
  auto top = Dictionary::make();
  top->set("checksum", "0");
  top->set("roots", roots);
  top->set("version", 1);
  WriteFile(file, SerializeJson(Value(top), 3));
}

void MakeFirefox(const fs::path& places, int count = kPerBrowser) {
  fs::create_directories(places.parent_path());
  sqlite3* db = nullptr;
  sqlite3_open(places.c_str(), &db);
  sqlite3_exec(db,
               "create table moz_places (id integer primary key, url longvarchar, title longvarchar);"
               "create table moz_bookmarks (id integer primary key, type integer, fk integer, parent integer, "
               "position integer, title longvarchar, dateAdded integer, guid text, syncStatus integer);"
               "begin;"
               "insert into moz_bookmarks (id, type, parent, title) values (1, 2, 0, '');"
               "insert into moz_bookmarks (id, type, parent, title) values (2, 2, 1, 'menu');"
               "insert into moz_bookmarks (id, type, parent, title) values (3, 2, 1, 'toolbar');",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* place = nullptr;
  sqlite3_stmt* item = nullptr;
  sqlite3_prepare_v2(db, "insert into moz_places (id, url) values (?, ?)", -1, &place, nullptr);
  sqlite3_prepare_v2(db, "insert into moz_bookmarks (id, type, fk, parent, title, guid) values (?, ?, ?, ?, ?, ?)", -1,
                     &item, nullptr);
  int id = 10;
  for (int f = 0; f < count / kPerFolder; ++f) {
    int folderId = id++;
    std::string title = "Folder " + std::to_string(f);
    sqlite3_bind_int(item, 1, folderId);
    sqlite3_bind_int(item, 2, 2);
    sqlite3_bind_null(item, 3);
    sqlite3_bind_int(item, 4, 3);
    sqlite3_bind_text(item, 5, title.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(item, 6, ("g" + std::to_string(folderId)).c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(item);
    sqlite3_reset(item);
    for (int i = 0; i < kPerFolder; ++i) {
      int n = f * kPerFolder + i;
      std::string url = Url("firefox", n);
      sqlite3_bind_int(place, 1, n + 1);
      sqlite3_bind_text(place, 2, url.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(place);
      sqlite3_reset(place);
      std::string name = "Firefox bookmark " + std::to_string(n);
      sqlite3_bind_int(item, 1, id++);
      sqlite3_bind_int(item, 2, 1);
      sqlite3_bind_int(item, 3, n + 1);
      sqlite3_bind_int(item, 4, folderId);
      sqlite3_bind_text(item, 5, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(item, 6, ("g" + std::to_string(id)).c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(item);
      sqlite3_reset(item);
    }
  }
  sqlite3_finalize(place);
  sqlite3_finalize(item);
  sqlite3_exec(db, "commit;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

struct GeneratedHome {
  fs::path dir;
  Locations loc;
  GeneratedHome()
      : dir(fs::temp_directory_path() / ("linvara-bench-" + std::to_string(::getpid()))),
        loc(Locations::ForHome(dir, Layout::MacOS)) {
    MakeSafari(loc);
    MakeChromium(loc.chromeDefaultBookmarks(), "chrome");
    MakeChromium(loc.edgeBookmarks(), "edge");
    MakeChromium(loc.operaBookmarks(), "opera");
    MakeFirefox(loc.firefoxProfilesFolder() / "bench.default" / "places.sqlite");
  }
  ~GeneratedHome() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

// One generated home for every benchmark of the run.
const GeneratedHome& Home() {
  static GeneratedHome home;
  return home;
}

// Peak resident memory (VmHWM) in MiB; ResetPeak starts a new measurement.
double PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_FullReadOfAllBrowsers(benchmark::State& state) {
  const GeneratedHome& home = Home();
  AppServices services;
  services.locations = home.loc;
  services.preferences = std::make_shared<Preferences>();
  services.platform = std::make_shared<FakePlatformServices>();
  services.dispatcher = std::make_shared<InlineDispatcher>();
  services.screen = std::make_shared<ScriptedScreen>();
  AppDelegate app(std::move(services));
  ResetPeak();
  const double before = PeakResidentMiB();
  for (auto _ : state) {
    app.EmptyListsForFullRead();
    app.ActClickOpenCookiesAction();
    benchmark::DoNotOptimize(app.lists().allbookMarkArray.size());
  }
  state.counters["bookmarks"] = static_cast<double>(app.lists().allbookMarkArray.size());
  state.counters["peak_rss_MiB"] = PeakResidentMiB();
  state.counters["rss_before_MiB"] = before;
}
BENCHMARK(BM_FullReadOfAllBrowsers)->Unit(benchmark::kMillisecond)->Iterations(5);

// Each browser's reader alone, 30,000 bookmarks.
template <class ReadFn>
void ReadOneBrowser(benchmark::State& state, ReadFn read) {
  const GeneratedHome& home = Home();
  for (auto _ : state) {
    BookmarkLists lists;
    ReaderContext ctx{lists, 1, home.loc.encryptedMarkers()};
    read(ctx, home.loc);
    benchmark::DoNotOptimize(lists.allbookMarkArray.size());
  }
}
void BM_ReadSafari(benchmark::State& state) {
  ReadOneBrowser(state, [](ReaderContext& ctx, const Locations& loc) { (void)SafariReader(ctx).ReadSafariBookMark(loc.safariBookmarks()); });
}
void BM_ReadChrome(benchmark::State& state) {
  ReadOneBrowser(state, [](ReaderContext& ctx, const Locations& loc) { (void)ChromiumReader(ctx).ReadChromeBookMark(loc.chromeDefaultBookmarks()); });
}
void BM_ReadFirefox(benchmark::State& state) {
  ReadOneBrowser(state, [](ReaderContext& ctx, const Locations& loc) {
    (void)FirefoxReader(ctx).ReadFirefoxBookMark({loc.firefoxProfilesFolder(), loc.ChooseFirefoxPlaces()});
  });
}
// The codecs alone, for comparison with the readers.
void BM_ParseChromeJson(benchmark::State& state) {
  const GeneratedHome& home = Home();
  const std::string bytes = ReadFileBytes(home.loc.chromeDefaultBookmarks()).value();
  for (auto _ : state) benchmark::DoNotOptimize(ParseJson(bytes).ok());
}
void BM_ParseSafariPlist(benchmark::State& state) {
  const GeneratedHome& home = Home();
  const std::string bytes = ReadFileBytes(home.loc.safariBookmarks()).value();
  for (auto _ : state) benchmark::DoNotOptimize(ParsePropertyList(bytes).ok());
}
BENCHMARK(BM_ParseChromeJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseSafariPlist)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSafari)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadChrome)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFirefox)->Unit(benchmark::kMillisecond);

// 200,000 Firefox rows: the tree is linked through maps, so this is about
// seven times the 30,000-row read, not fifty.
void BM_ReadFirefox200k(benchmark::State& state) {
  static const fs::path profiles = Home().dir / "large" / "Profiles";
  static const bool made = (MakeFirefox(profiles / "big.default" / "places.sqlite", 200000), true);
  (void)made;
  for (auto _ : state) {
    BookmarkLists lists;
    ReaderContext ctx{lists, 1, {}};
    (void)FirefoxReader(ctx).ReadFirefoxBookMark({profiles, profiles / "big.default" / "places.sqlite"});
    benchmark::DoNotOptimize(lists.allbookMarkArray.size());
  }
}
BENCHMARK(BM_ReadFirefox200k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

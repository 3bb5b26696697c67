// A delete in a 30,000-bookmark Safari tree (300 folders of 100): the removal
// rebuild, the one-step write of the working copy and its read back, as the
// delete command does them. Each iteration starts from Safari's own file.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/BookmarkSession.h"
#include "edit/EditController.h"
#include "profile/SafariBookmarksFile.h"
#include "FreshSafariView.h"

namespace fs = std::filesystem;
using namespace linvara;

namespace {

constexpr int kBookmarks = 30000;
constexpr int kPerFolder = 100;

struct GeneratedHome {
  fs::path dir = fs::temp_directory_path() / ("linvara-bench-edit-" + std::to_string(::getpid()));
  Locations loc = Locations::ForHome(dir, Layout::MacOS);
  GeneratedHome() {
    auto bookmarks = profile::FoldersOfBookmarks(kBookmarks, kBookmarks / kPerFolder, [](int folder, int index) {
      const int n = folder * kPerFolder + index;
      return profile::Leaf("Bookmark " + std::to_string(n),
                           "https://site" + std::to_string(n % 5000) + ".example.com/page/" + std::to_string(n));
    });
    auto written = profile::WriteSafariBookmarks(loc.safariBookmarks(), bookmarks);
    if (!written) throw std::runtime_error(written.error());
  }
  ~GeneratedHome() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

void BM_SafariDeleteRebuildWriteReadBack(benchmark::State& state) {
  static GeneratedHome home;
  TimeOnFreshSafariView(state, home.loc, [](BookmarkSession& session) {
    // One bookmark in the middle of the tree.
    const NodeList doomed{session.lists().safariBookMarkArray.at(kBookmarks / 2)};
    return EditController(session).DeleteBookmarks(doomed);
  });
}
BENCHMARK(BM_SafariDeleteRebuildWriteReadBack)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

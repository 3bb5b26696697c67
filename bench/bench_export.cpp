// The HTML export of 150,000 bookmarks in 1,500 folders: the copy of the rows
// taken on the main thread, and the build and one-step write of the file on the
// worker. Target: the whole export under 200 ms in a Release build.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "export/ExportOutline.h"

namespace fs = std::filesystem;
using namespace linvara;

namespace {

constexpr int kFolders = 1500;
constexpr int kPerFolder = 100;

// Top-level folders of bookmarks; every tenth title carries markup to escape.
NodeList Rows() {
  NodeList rows;
  for (int f = 0; f < kFolders; ++f) {
    FolderPtr folder = PRFaBookMarkNode::Create();
    folder->setThetitle("Folder " + std::to_string(f));
    for (int i = 0; i < kPerFolder; ++i) {
      const int n = f * kPerFolder + i;
      NodePtr leaf = PRBookMarkNode::Create();
      leaf->setThetitle((n % 10 ? "Bookmark " : "R&D <notes> ") + std::to_string(n));
      leaf->setUrlString("https://site" + std::to_string(n % 5000) + ".example.com/page/" + std::to_string(n) + "?a=1&b=2");
      folder->appendChild(leaf);
    }
    rows.push_back(folder);
  }
  return rows;
}

struct ScratchFolder {
  fs::path path;
  ScratchFolder() {
    std::string templ = (fs::temp_directory_path() / "linvara-bench-export-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("cannot make a scratch folder");
    path = templ;
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

void BM_ExportSnapshot(benchmark::State& state) {
  const NodeList rows = Rows();
  for (auto _ : state) benchmark::DoNotOptimize(AddSubBoomarkFolderandBookmarkUrlwith(rows));
  state.counters["bookmarks"] = kFolders * kPerFolder;
}

void BM_ExportBuildAndWrite(benchmark::State& state) {
  const ExportOutline outline = AddSubBoomarkFolderandBookmarkUrlwith(Rows());
  ScratchFolder scratch;
  for (auto _ : state) {
    auto written = WriteBookmarkHtml(scratch.path, outline, ExportFile::Shown);
    if (!written) state.SkipWithError(written.error().c_str());
  }
  state.counters["MiB"] = static_cast<double>(fs::file_size(scratch.path / "Linvara.html")) / (1 << 20);
}

void BM_ExportWhole(benchmark::State& state) {
  const NodeList rows = Rows();
  ScratchFolder scratch;
  for (auto _ : state) {
    auto written = WriteBookmarkHtml(scratch.path, AddSubBoomarkFolderandBookmarkUrlwith(rows), ExportFile::Shown);
    if (!written) state.SkipWithError(written.error().c_str());
  }
}

}  // namespace

BENCHMARK(BM_ExportSnapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportBuildAndWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportWhole)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

// linvara-cli on the generated home (BenchSupport.h): `list --view all --flat`
// as JSON and as text, and `search`, each run as its own process under
// /usr/bin/time -v with the output thrown away. The figure is the wall time of
// the fastest run; peak_rss_MiB is the command's maximum resident size.
#include <cstdlib>
#include <regex>
#include <sstream>

#include "BenchSupport.h"

using namespace linvara::bench;

namespace {

struct ProcessFigures {
  double wallSeconds = 0;
  double peakMiB = 0;
};

// "h:mm:ss" or "m:ss.ss" as /usr/bin/time prints the elapsed time.
double ElapsedSeconds(const std::string& text) {
  double seconds = 0;
  std::stringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ':')) seconds = seconds * 60 + std::stod(part);
  return seconds;
}

ProcessFigures RunCli(const std::string& arguments) {
  const fs::path report = Home().dir / "time-report.txt";
  const std::string command = "/usr/bin/time -v -o '" + report.string() + "' '" LINVARA_CLI_PATH "' --home '" +
                              Home().dir.string() + "' --layout macos " + arguments + " > /dev/null 2>&1";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  std::ifstream in(report);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::smatch m;
  ProcessFigures figures;
  if (std::regex_search(text, m, std::regex(R"(Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): ([0-9:.]+))")))
    figures.wallSeconds = ElapsedSeconds(m[1]);
  if (std::regex_search(text, m, std::regex(R"(Maximum resident set size \(kbytes\): (\d+))")))
    figures.peakMiB = std::stod(m[1]) / 1024.0;
  return figures;
}

void TimeCli(benchmark::State& state, const std::string& arguments) {
  (void)Home();
  double fastest = 1e9, peak = 0;
  for (auto _ : state) {
    const ProcessFigures figures = RunCli(arguments);
    state.SetIterationTime(figures.wallSeconds);
    fastest = std::min(fastest, figures.wallSeconds);
    peak = std::max(peak, figures.peakMiB);
  }
  state.counters["figure"] = fastest;
  state.counters["peak_rss_MiB"] = peak;
  state.SetLabel("s");
}

void BM_CliListFlatJson(benchmark::State& state) { TimeCli(state, "list --view all --flat --json"); }
void BM_CliListFlatText(benchmark::State& state) { TimeCli(state, "list --view all --flat"); }
void BM_CliListTreeJson(benchmark::State& state) { TimeCli(state, "list --view all --json"); }
void BM_CliSearchJson(benchmark::State& state) { TimeCli(state, "search page --json"); }
BENCHMARK(BM_CliListFlatJson)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CliListFlatText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CliListTreeJson)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CliSearchJson)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

LINVARA_BENCHMARK_MAIN()

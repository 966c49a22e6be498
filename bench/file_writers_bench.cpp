// What the log and report writers cost: 10,000 appended gas.log lines and 1,000 rewrites of a
// 42-line report.log, in a fresh folder (under TMPDIR, or the one given), each run timed on
// the wall clock. Prints every run and the median per call.
//
//   bench_file_writers_bench [--runs N] [--folder DIR]     (default 5 runs)
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/text/TextFile.h"

namespace {

using Clock = std::chrono::steady_clock;

// Seconds taken by `count` calls of `call`; stops at the first failure.
double Time(int count, const std::function<bool(int)>& call, bool& failed) {
  const auto start = Clock::now();
  for (int i = 0; i < count && !failed; ++i) failed = !call(i);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::filesystem::path parent = std::filesystem::temp_directory_path();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--folder") == 0 && i + 1 < argc) {
      parent = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--runs N] [--folder DIR]\n", argv[0]);
      return 2;
    }
  }
  if (runs < 1) {
    std::fprintf(stderr, "--runs needs a positive number\n");
    return 2;
  }
  std::string folderName = (parent / "file-writers-bench-XXXXXX").string();
  if (::mkdtemp(folderName.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::filesystem::path folder = folderName;
  const std::string log = (folder / "gas.log").string();
  const std::string report = (folder / "report.log").string();

  const std::string line =
      "0,12\t14,5\t120\t0,8\t40\t0,1\t1,002\t850\t85\t14/03/2026 09:30:00\tAQ123456 ";
  std::vector<std::string> reportLines;
  for (int i = 0; i < 42; ++i)
    reportLines.push_back("Key" + std::to_string(i) + "=value of the line " + std::to_string(i));

  constexpr int kAppends = 10000, kRewrites = 1000;
  std::vector<double> appendRuns, rewriteRuns;
  bool failed = false;
  for (int run = 0; run < runs && !failed; ++run) {
    std::filesystem::remove(log);
    appendRuns.push_back(Time(
        kAppends, [&](int) { return static_cast<bool>(plat::AppendTextLines(log, {line})); },
        failed));
    rewriteRuns.push_back(Time(
        kRewrites,
        [&](int i) {
          reportLines[0] = "Title=" + std::to_string(i);
          return static_cast<bool>(plat::WriteTextFile(report, reportLines));
        },
        failed));
    std::printf("run %d: %d appends %.3f s, %d rewrites %.3f s\n", run + 1, kAppends,
                appendRuns.back(), kRewrites, rewriteRuns.back());
  }
  std::filesystem::remove_all(folder);
  if (failed) {
    std::fprintf(stderr, "a write failed\n");
    return 1;
  }
  std::printf("median per append:  %.2f us\n", 1e6 * Median(appendRuns) / kAppends);
  std::printf("median per rewrite: %.2f us\n", 1e6 * Median(rewriteRuns) / kRewrites);
  return 0;
}

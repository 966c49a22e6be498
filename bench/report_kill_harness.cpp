// Rewrites "report.log" in a folder through the program's whole-file writer, over and over,
// for bench/report_kill.sh, which kills it in the middle of a write. The rewrites alternate
// between two reports of 42 lines and different lengths, so that a file torn or cut by the
// kill matches neither.
//
//   bench_report_kill_harness FOLDER COUNT     (COUNT 0: until killed)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/TextFile.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER COUNT\n", argv[0]);
    return 2;
  }
  const std::string report = (std::filesystem::path(argv[1]) / "report.log").string();
  const long count = std::atol(argv[2]);
  for (long i = 0; count == 0 || i < count; ++i) {
    const bool second = i % 2 == 1;
    std::vector<std::string> lines;
    for (int k = 0; k < 42; ++k) {
      lines.push_back("Key" + std::to_string(k) + "=" +
                      (second ? "the second report's longer value " : "first ") +
                      std::to_string(k));
    }
    const plat::FileResult r = plat::WriteTextFile(report, lines);
    if (!r) {
      std::fprintf(stderr, "report.log not written: %s\n", r.reason.c_str());
      return 1;
    }
  }
  return 0;
}

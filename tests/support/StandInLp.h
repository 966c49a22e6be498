#pragma once
// An `lp` on PATH for tests that print: it records the arguments of each job and keeps a
// copy of the PDF it was given, and exits with $LP_EXIT. PATH is restored when it goes.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace plat::test {

class StandInLp {
 public:
  StandInLp() : oldPath_(getenv("PATH") ? getenv("PATH") : "") {
    const std::string jobs = dir_.path().string();
    std::ofstream(dir_ / "lp") << "#!/bin/sh\nn=$(ls '" << jobs << "' | grep -c args)\n"
                               << "printf '%s\\n' \"$@\" > '" << jobs << "'/job$n.args\n"
                               << "for f; do :; done\ncp \"$f\" '" << jobs << "'/job$n.pdf\n"
                               << "exit ${LP_EXIT:-0}\n";
    std::filesystem::permissions(dir_ / "lp", std::filesystem::perms::owner_all);
    setenv("PATH", (jobs + ":" + oldPath_).c_str(), 1);
  }
  ~StandInLp() {
    setenv("PATH", oldPath_.c_str(), 1);
    unsetenv("LP_EXIT");
  }

  // The arguments of each job, in order.
  std::vector<std::vector<std::string>> jobs() const {
    std::vector<std::vector<std::string>> out;
    for (std::ifstream in; (in = std::ifstream(job(out.size(), ".args"))).is_open();) {
      out.emplace_back();
      for (std::string line; std::getline(in, line);) out.back().push_back(line);
    }
    return out;
  }
  std::filesystem::path pdf(int n) const { return job(n, ".pdf"); }  // the PDF of job n

 private:
  std::filesystem::path job(std::size_t n, const char* e) const {
    return dir_ / ("job" + std::to_string(n) + e);
  }
  TempFolder dir_;  // lp and the jobs (not copied)
  std::string oldPath_;
};

}  // namespace plat::test

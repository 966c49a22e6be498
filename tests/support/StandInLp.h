#pragma once
// An `lp` on PATH for tests that print: it records the arguments of each job and keeps a
// copy of the PDF it was given. PATH is restored when it goes.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace plat::test {

class StandInLp {
 public:
  StandInLp() {
    oldPath_ = getenv("PATH") ? getenv("PATH") : "";
    const std::string jobs = jobs_.path().string();
    std::ofstream lp(bin_ / "lp");
    lp << "#!/bin/sh\n"
       << "n=$(ls '" << jobs << "' | grep -c args)\n"
       << "printf '%s\\n' \"$@\" > '" << jobs << "'/job$n.args\n"
       << "for f; do :; done\n"
       << "cp \"$f\" '" << jobs << "'/job$n.pdf\n"
       << "exit ${LP_EXIT:-0}\n";
    lp.close();
    std::filesystem::permissions(bin_ / "lp", std::filesystem::perms::owner_all);
    setenv("PATH", (bin_.path().string() + ":" + oldPath_).c_str(), 1);
  }
  ~StandInLp() {
    setenv("PATH", oldPath_.c_str(), 1);
    unsetenv("LP_EXIT");
  }
  StandInLp(const StandInLp&) = delete;
  StandInLp& operator=(const StandInLp&) = delete;

  // The arguments of each job, in order.
  std::vector<std::vector<std::string>> jobs() const {
    std::vector<std::vector<std::string>> out;
    for (int n = 0; std::filesystem::exists(args(n)); ++n) {
      std::ifstream in(args(n));
      std::vector<std::string> a;
      for (std::string line; std::getline(in, line);) a.push_back(line);
      out.push_back(a);
    }
    return out;
  }
  // The PDF of job n.
  std::filesystem::path pdf(int n) const { return jobs_ / ("job" + std::to_string(n) + ".pdf"); }

 private:
  std::filesystem::path args(int n) const { return jobs_ / ("job" + std::to_string(n) + ".args"); }
  TempFolder bin_, jobs_;
  std::string oldPath_;
};

}  // namespace plat::test

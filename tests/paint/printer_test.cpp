#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "platform/Runtime.h"
#include "platform/core/Error.h"
#include "platform/forms/Forms.h"
#include "platform/print/PdfPrinter.h"
#include "support/StandInLp.h"
#include "support/TempFolder.h"

namespace plat {
namespace {

// Prints a page through a stand-in `lp` on PATH.
class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt.forms.setPrinter(&printer);
    page.Move(0, 0, 747, 668);
  }
  test::StandInLp lp_;
  Runtime rt{EventLoop::ClockKind::Manual};
  Form page{rt.forms, "PrtKYMRACERT"};
  PdfPrinter printer;
};

// Each job: lp's arguments, and whether the temporary PDF stays behind. What the pages hold
// and how many there are is checked by the painter and smoke report tests.
TEST_F(PrinterTest, CopiesAreOneJobForLpTitledByTheCaptionAndNoCopiesPrintNothing) {
  page.PrintForm(1);  // no caption: the form's name is the title
  page.setCaption("Certificate");
  page.PrintForm(3);
  page.PrintForm(0);
  page.PrintForm(-1);
  std::string jobs;
  for (const auto& job : lp_.jobs()) {
    for (const std::string& arg : job) jobs += arg.starts_with("/") ? "<pdf> " : arg + " ";
    jobs += std::to_string(std::filesystem::exists(job.back())) + "\n";
  }
  EXPECT_EQ(jobs, "-s -t PrtKYMRACERT <pdf> 0\n-s -t Certificate <pdf> 0\n");
}

TEST_F(PrinterTest, MissingRefusingOrHangingLpIsAPrinterError) {
  auto expectPrinterError = [&] {
    try {
      page.PrintForm(1);
      ADD_FAILURE() << "printing did not fail";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), kErrPrintFailed);
      EXPECT_STREQ(e.what(), "Printer error");
    }
  };
  setenv("LP_EXIT", "1", 1);
  expectPrinterError();
  unsetenv("LP_EXIT");

  test::TempFolder empty;
  setenv("PATH", empty.path().c_str(), 1);
  expectPrinterError();

  std::ofstream(empty / "lp") << "#!/bin/sh\nsleep 5\n";
  std::filesystem::permissions(empty / "lp", std::filesystem::perms::owner_all);
  printer.timeLimit = std::chrono::milliseconds(200);
  const auto start = std::chrono::steady_clock::now();
  expectPrinterError();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

}  // namespace
}  // namespace plat

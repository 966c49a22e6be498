#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "paint/paint_test_util.h"
#include "platform/Runtime.h"
#include "platform/core/Error.h"
#include "platform/forms/Forms.h"
#include "platform/print/PdfPrinter.h"
#include "support/StandInLp.h"
#include "support/TempFolder.h"

namespace plat {
namespace {

using paint::testing::HavePdfToText;
using paint::testing::PdfText;

// Prints a page through a stand-in `lp` on PATH. The smoke report tests check what the
// printed pages hold.
class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt.forms.setPrinter(&printer);
    page.Move(0, 0, 747, 668);
    label.setCaption("REGOLARE");
  }
  test::StandInLp lp_;
  Runtime rt{EventLoop::ClockKind::Manual};
  Form page{rt.forms, "PrtKYMRACERT"};
  Label label{page, "Label79"};
  PdfPrinter printer;
};

TEST_F(PrinterTest, CopiesArePagesOfOneJobForLpAndNoCopiesPrintNothing) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  page.PrintForm(1);  // no caption: the form's name is the title
  page.setCaption("Certificate");
  page.PrintForm(3);
  page.PrintForm(0);
  page.PrintForm(-1);
  const auto jobs = lp_.jobs();
  ASSERT_EQ(jobs.size(), 2u);
  for (int n = 0; n < 2; ++n) {
    ASSERT_EQ(jobs[n].size(), 4u);
    EXPECT_EQ(jobs[n][0] + " " + jobs[n][1] + " " + jobs[n][2],
              n == 0 ? "-s -t PrtKYMRACERT" : "-s -t Certificate");
    EXPECT_FALSE(std::filesystem::exists(jobs[n][3])) << "the temporary PDF stays behind";
    const std::string text = PdfText(lp_.pdf(n));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), n == 0 ? 1 : 3);
    EXPECT_NE(text.find("REGOLARE"), std::string::npos) << text;
  }
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

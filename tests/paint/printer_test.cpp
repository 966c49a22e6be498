#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "platform/Runtime.h"
#include "platform/core/Error.h"
#include "platform/forms/Forms.h"
#include "platform/print/PdfPrinter.h"
#include "support/HeldChildren.h"
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

// The printer's error: "Printer error", then the first line `lp` wrote to stderr (or why it
// could not be started). A hanging `lp` is killed at the time limit.
TEST_F(PrinterTest, MissingRefusingOrHangingLpIsAPrinterError) {
  auto printerError = [&]() -> std::string {
    try {
      page.PrintForm(1);
      ADD_FAILURE() << "printing did not fail";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), kErrPrintFailed);
      return e.what();
    }
    return {};
  };
  setenv("LP_EXIT", "1", 1);
  EXPECT_EQ(printerError(), "Printer error");
  unsetenv("LP_EXIT");

  test::TempFolder empty;
  setenv("PATH", empty.path().c_str(), 1);
  EXPECT_EQ(printerError(), "Printer error\nlp: No such file or directory");

  const auto lp = [&](const std::string& body) {
    std::ofstream(empty / "lp") << "#!/bin/sh\nPATH=/usr/bin:/bin\n" << body;
    std::filesystem::permissions(empty / "lp", std::filesystem::perms::owner_all);
  };
  lp("echo >&2\necho '  lp: The printer or class does not exist. ' >&2\necho more >&2\nexit 1\n");
  EXPECT_EQ(printerError(), "Printer error\nlp: The printer or class does not exist.");

  lp("sleep 5\n");
  printer.timeLimit = std::chrono::milliseconds(200);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(printerError(), "Printer error");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

// With `lp` held on the manual clock: the page waits for it while timers go on, the PDF stays
// until `lp` has ended, and a job that outlasts the time limit is killed there.
TEST_F(PrinterTest, TheWaitForLpKeepsTimersGoingUntilItEndsOrTheLimit) {
  test::HeldChildren held;
  printer.starter = &held;
  std::vector<Millis> ticks;
  bool pdfWhileWaiting = true;
  rt.loop.startTimer(25, [&] {
    ticks.push_back(rt.loop.now());
    for (const auto& job : held.started())
      if (job.running) pdfWhileWaiting &= std::filesystem::exists(job.argv.back());
  });
  // Accepted after 20 s; refused after 5 s; never ends.
  held.plan(20'000, 0);
  held.plan(5'000, 1, "lp: Error - The printer is not responding.\n");
  std::string told;
  for (int job = 0; job < 3; ++job) {
    const Millis start = rt.loop.now();
    ticks.clear();
    try {
      page.PrintForm(1);
      told += "printed";
    } catch (const RuntimeError& e) {
      told += e.what();
    }
    told += " after " + std::to_string(rt.loop.now() - start) + " ms, " +
            std::to_string(ticks.size()) + " ticks; ";
  }
  EXPECT_EQ(told,
            "printed after 20000 ms, 800 ticks; "
            "Printer error\nlp: Error - The printer is not responding. after 5000 ms, 200 ticks; "
            "Printer error after 30000 ms, 1200 ticks; ");
  EXPECT_TRUE(pdfWhileWaiting);
  const auto jobs = held.started();
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_EQ(std::tuple(jobs[0].killed, jobs[1].killed, jobs[2].killed, held.running()),
            std::tuple(false, false, true, 0));
  for (const auto& job : jobs) EXPECT_FALSE(std::filesystem::exists(job.argv.back()));
}

}  // namespace
}  // namespace plat

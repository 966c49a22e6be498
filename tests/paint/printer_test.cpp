#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <sstream>
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

using paint::testing::Capture;
using paint::testing::HavePdfToText;
using paint::testing::PdfText;
using test::TempFolder;

// A printable page as the reports have: values, a copies field and buttons that the page
// hides while it prints.
class Certificate : public Form {
 public:
  explicit Certificate(Runtime& rt) : Form(rt.forms, "PrtKYMRACERT") {
    setBackColor(colors::kWhite);
    Move(0, 0, 747, 668);
    Label79.Move(20, 20, 200, 24);
    Label79.setCaption("REGOLARE");
    Label1.Move(20, 60, 60, 24);
    Label1.setCaption("N° Copie");
    Text5.Move(90, 60, 40, 24);
    Text5.setText("2");
    Command2.Move(600, 600, 60, 40);
    Command2.setCaption("Print");
    Command2.onClick = [this] {
      for (Control* c : std::initializer_list<Control*>{&Command2, &Label1, &Text5})
        c->setVisible(false);
      struct Restore {
        Certificate* f;
        ~Restore() {
          for (Control* c : std::initializer_list<Control*>{&f->Command2, &f->Label1, &f->Text5})
            c->setVisible(true);
        }
      } restore{this};
      for (int i = 1; i <= std::stoi(Text5.Text()); ++i) PrintForm();
    };
  }
  Label Label79{*this, "Label79"};
  Label Label1{*this, "Label1"};
  TextBox Text5{*this, "Text5"};
  CommandButton Command2{*this, "Command2"};
};

// Prints through a stand-in `lp` on PATH.
class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { rt.forms.setPrinter(&printer); }
  std::vector<std::vector<std::string>> jobs() const { return lp_.jobs(); }
  std::filesystem::path pdf(int n) const { return lp_.pdf(n); }
  static int Pages(const std::filesystem::path& pdf) {
    const std::string text = PdfText(pdf);
    return static_cast<int>(std::count(text.begin(), text.end(), '\f'));
  }

  test::StandInLp lp_;
  Runtime rt{EventLoop::ClockKind::Manual};
  Certificate page{rt};
  PdfPrinter printer;
};

TEST_F(PrinterTest, EachPrintIsOnePdfForLpWithoutTheControlsThePageHid) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  page.Show();
  page.Command2.raiseClick();  // two copies, one PrintForm each
  const auto recorded = jobs();
  ASSERT_EQ(recorded.size(), 2u);
  for (int n = 0; n < 2; ++n) {
    ASSERT_EQ(recorded[n].size(), 4u);
    EXPECT_EQ(recorded[n][0], "-s");
    EXPECT_EQ(recorded[n][1], "-t");
    EXPECT_EQ(recorded[n][2], "PrtKYMRACERT");  // no caption: the form's name
    EXPECT_FALSE(std::filesystem::exists(recorded[n][3])) << "the temporary PDF stays behind";
    EXPECT_EQ(Pages(pdf(n)), 1);
    const std::string text = PdfText(pdf(n));
    EXPECT_NE(text.find("REGOLARE"), std::string::npos);
    EXPECT_EQ(text.find("Copie"), std::string::npos);
    EXPECT_EQ(text.find("Print"), std::string::npos);
  }
  // The page shows its buttons and copies field again.
  EXPECT_TRUE(page.Command2.Visible());
  EXPECT_TRUE(page.Text5.Visible());
}

TEST_F(PrinterTest, CopiesArePagesOfOneJobAndNoCopiesPrintNothing) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  page.setCaption("Certificate");
  page.PrintForm(3);
  page.PrintForm(0);
  page.PrintForm(-1);
  const auto recorded = jobs();
  ASSERT_EQ(recorded.size(), 1u);
  EXPECT_EQ(recorded[0][2], "Certificate");
  EXPECT_EQ(Pages(pdf(0)), 3);
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

  TempFolder empty;
  setenv("PATH", empty.path().c_str(), 1);
  expectPrinterError();

  {
    std::ofstream slow(empty / "lp");
    slow << "#!/bin/sh\nsleep 5\n";
  }
  std::filesystem::permissions(empty / "lp", std::filesystem::perms::owner_all);
  printer.timeLimit = std::chrono::milliseconds(200);
  const auto start = std::chrono::steady_clock::now();
  expectPrinterError();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

}  // namespace
}  // namespace plat

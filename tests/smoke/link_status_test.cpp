// The status replies of the opacimeter in both protocols: every state and error of each
// model, as the link decodes it into its state word and the form's status lines.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "link/LinkState.h"
#include "shell/ShellState.h"
#include "smoke/McnSmokeLink.h"
#include "smoke/OwnSmokeLink.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"
#include "smoke_test_util.h"

namespace vs::smoke {
namespace {

constexpr plat::Color kRed = plat::colors::kRed;
constexpr plat::Color kWhite = plat::colors::kWhite;

struct Row {
  const char* what;
  int model;          // 0 to 4 binary; 5 MCTC-NET
  std::string bytes;  // binary: S7 S8 S9 S10 S11; MCTC-NET: the data text of "ST"
  // before
  const char* lastWord = "";
  std::int16_t testMode = 0;
  double cellTemp = 75;
  // after
  const char* linkState = "";
  const char* lastWordAfter = "";  // "" : unchanged
  std::optional<std::string> label2 = std::nullopt;
  std::optional<plat::Color> label2Back = std::nullopt;
  std::optional<std::string> label39 = std::nullopt;
  std::optional<plat::Color> label39Back = std::nullopt;
  int valuesInvalid = 9;  // 9: left as it was (it starts at 9 here)
  int status1 = -1;       // binary: OpaStatus1 afterwards (-1: S8 as sent)
  const char* testPhase = nullptr;
  std::optional<bool> command1 = std::nullopt;
  bool blanks = false;  // the readings and the series shown as "- - -" (always on an error)
};

std::string B(int s7, int s8, int s9, int s11) {
  return {static_cast<char>(s7), static_cast<char>(s8), static_cast<char>(s9), '\0',
          static_cast<char>(s11)};
}

TEST(LinkStatus, EveryStatusAndErrorOfEachModel) {
  const Row rows[] = {
      // Model 0, by S7 and, when ready, by the range of S8.
      {"0 warm-up", 0, B(0x00, 0, 16, 200), "RSTATT", 4, 60, "RSTRI", "RSTRI", "T40", kWhite, "T28",
       kWhite, 9, -1, nullptr, false, true},
      {"0 auto-zero", 0, B(0x48, 0, 16, 200), "", 0, 75, "RSTAZE", "RSTAZE", "T34", kWhite, "T9",
       kWhite},
      {"0 ready", 0, B(0x80, 0, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "T35", kWhite,
       std::nullopt, kWhite, 0},
      {"0 ready after warm-up", 0, B(0x80, 1, 16, 200), "RSTRI", 0, 75, "RSTATT", "RSTATT", "T35",
       kWhite, "T9", kWhite, 0},
      {"0 ready after zero, manual", 0, B(0x80, 0, 16, 200), "RSTAZE", 5, 75, "RSTATT", "RSTATT",
       "T35", kWhite, std::nullopt, kWhite, 0, -1, nullptr, true},
      {"0 S8 2", 0, B(0x80, 2, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 3", kRed, "T36",
       kRed, 1, -1, nullptr, std::nullopt, true},
      {"0 S8 3", 0, B(0x80, 3, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 3", kRed, "T36",
       kRed, 1, -1, nullptr, std::nullopt, true},
      {"0 S8 4", 0, B(0x80, 4, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 4", kRed, "T37",
       kRed, 1},
      {"0 S8 15", 0, B(0x80, 15, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 4", kRed, "T37",
       kRed, 1},
      {"0 S8 16", 0, B(0x80, 16, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 2", kRed, "T38",
       kRed, 1},
      {"0 S8 31", 0, B(0x80, 31, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 2", kRed, "T38",
       kRed, 1},
      {"0 S8 32", 0, B(0x80, 32, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 1", kRed, "T39",
       kRed, 1},
      {"0 S8 63", 0, B(0x80, 63, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 1", kRed, "T39",
       kRed, 1},
      {"0 S8 64", 0, B(0x80, 64, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "T35", kWhite,
       std::nullopt, kWhite, 9},
      {"0 error", 0, B(0xF0, 0, 16, 200), "", 0, 75, "RSTERR", "RSTERR", "Error", kRed, "T41",
       kRed},
      {"0 other", 0, B(0x01, 0, 16, 200), "RSTAZE", 0, 75, "RSTATT", "RSTATT"},

      // Models 1 to 4: auto-zero presets the phase by mode.
      {"1 zero, mode 0", 1, B(0x40, 0, 16, 200), "", 0, 75, "RSTAZE", "RSTAZE", "T34", std::nullopt,
       "T34", kWhite, 9, -1, "CONTINUA"},
      {"2 zero, mode 3", 2, B(0x40, 0, 16, 200), "", 3, 75, "RSTAZE", "RSTAZE", "T34", std::nullopt,
       "T34", kWhite, 9, -1, "AVVIOALTO"},
      {"3 zero, mode 5", 3, B(0x40, 0, 16, 200), "", 5, 75, "RSTAZE", "RSTAZE", "T34", std::nullopt,
       "T34", kWhite, 9, -1, "DUE", false},
      // Check, not-ready and ready by S11, S8 and S9.
      {"4 check S11 50", 4, B(0x10, 0, 16, 50), "", 0, 75, "RSTCHK", "RSTCHK", "T42", kWhite, "",
       std::nullopt, 9, -1, nullptr, std::nullopt, true},
      {"1 check S8 64", 1, B(0x00, 64, 16, 50), "", 0, 75, "RSTCHK", "RSTCHK", "T42", kWhite, "",
       std::nullopt, 9, -1, nullptr, std::nullopt, true},
      {"1 S11 51 not ready", 1, B(0x10, 0, 0, 51), "", 0, 75, "RSTAZE", "RSTAZE", "T34",
       std::nullopt, "T34", kWhite},
      {"1 S11 51 ready", 1, B(0x10, 0, 16, 51), "", 0, 75, "RSTATT", "RSTATT", "T35", kWhite,
       std::nullopt, std::nullopt, 0},
      {"1 S11 50 S8 16: no check", 1, B(0x10, 16, 16, 50), "", 0, 75, "RSTATT", "RSTATT", "ERROR 2",
       kRed, "T38", kRed, 1, 0},
      {"1 S11 50 S8 63: no check", 1, B(0x10, 63, 16, 50), "", 0, 75, "RSTATT", "RSTATT", "ERROR 4",
       kRed, "T37", kRed, 1, 43},
      {"2 ready after zero, manual", 2, B(0x00, 0, 16, 200), "RSTAZE", 4, 75, "RSTATT", "RSTATT",
       "T35", kWhite, std::nullopt, std::nullopt, 0, -1, nullptr, true},
      // Error bits: each one handled in turn, the last one stays on screen.
      {"1 S8 6", 1, B(0x10, 6, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 4", kRed, "T37",
       kRed, 1, 2, nullptr, std::nullopt, true},
      {"1 S8 255", 1, B(0x10, 255, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 4", kRed, "T37",
       kRed, 1, 43},
      {"1 S8 192", 1, B(0x10, 192, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "T40", kWhite, "T28",
       std::nullopt, 0, 0},
      {"1 S8 128", 1, B(0x10, 128, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "T35", kWhite,
       std::nullopt, std::nullopt, 0, 0},
      {"1 S8 16", 1, B(0x10, 16, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 2", kRed, "T38",
       kRed, 1, 0},
      {"1 S8 4", 1, B(0x10, 4, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 3", kRed, "T36",
       kRed, 1, 0},
      {"1 S8 2", 1, B(0x10, 2, 16, 200), "", 0, 75, "RSTATT", "RSTATT", "ERROR 4", kRed, "T37",
       kRed, 1, 2},
      {"1 S11 255", 1, B(0x10, 0, 16, 255), "", 0, 75, "RSTATT", "RSTATT", "ERROR 1", kRed, "T39",
       kRed, 1},
      {"1 other S7", 1, B(0x20, 6, 16, 200), "RSTAZE", 0, 75, "RSTATT", "RSTATT"},

      // MCTC-NET (model 5): the low five bits of the first data byte.
      {"5 warm-up, cold cell", 5, "A", "RSTMIS", 5, 70, "RSTRI", "RSTRI", "T40", kWhite, "T28",
       kWhite, 9, -1, nullptr, false, true},
      {"5 warm-up, warm cell", 5, "A", "", 0, 70.01, "RSTRI", "RSTRI", "T40", kWhite, "T9", kWhite,
       9, -1, nullptr, std::nullopt, true},
      {"5 stand-by", 5, "B", "", 0, 75, "RSTSB", "RSTSB", "StandBy", kWhite, "T9", kWhite},
      {"5 auto-zero, mode 2", 5, "D", "", 2, 75, "RSTAZE", "RSTAZE", "T34", kWhite, "T34", kWhite,
       9, -1, "AVVIOALTO"},
      {"5 auto-zero, mode 4", 5, "D", "", 4, 75, "RSTAZE", "RSTAZE", "T34", kWhite, "T34", kWhite,
       9, -1, "DUE", false},
      {"5 measuring", 5, "H", "RSEC", 0, 75, "RSTMIS", "RSTMIS", "T45", kWhite, "T9", kWhite},
      {"5 measuring 16, after zero, manual", 5, "P", "RSTAZE", 5, 75, "RSTMIS", "RSTMIS", "T45",
       kWhite, std::nullopt, std::nullopt, 9, -1, nullptr, true},
      {"5 status 0", 5, "@", "RSEC", 0, 75, "RSTMIS"},
      {"5 status 3", 5, "C", "RSTSB", 0, 75, "RSTMIS"},
      {"5 status 9", 5, "I", "RSTSB", 0, 75, "RSTMIS"},
      {"5 status without data", 5, "", "RSTAZE", 0, 75, "RSTMIS"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    SmokeFormFields f;
    LinkState link;
    SmokeState smoke;
    ShellState shell;
    shell.LangText = test::NumberedTexts();
    f.LastStatusWord = r.lastWord;
    f.ValuesInvalid = 9;
    f.LinkState = "SCA";
    link.OpaCellTemp = r.cellTemp;
    LinkView view;
    view.testMode = r.testMode;
    view.label39 = "T30";
    LinkDisplay d;
    if (r.model == 5) {
      d = DecodeMcnStatus(f, link, smoke, shell, view, r.bytes);
    } else {
      d = DecodeOwnStatus(
          f, smoke, link, shell, static_cast<std::int16_t>(r.model), view,
          {static_cast<std::uint8_t>(r.bytes[0]), static_cast<std::uint8_t>(r.bytes[1]),
           static_cast<std::uint8_t>(r.bytes[2]), static_cast<std::uint8_t>(r.bytes[4])});
      EXPECT_EQ(smoke.OpaStatus0, static_cast<std::uint8_t>(r.bytes[0]));
      EXPECT_EQ(smoke.OpaStatus1,
                r.status1 >= 0 ? r.status1 : static_cast<std::uint8_t>(r.bytes[1]));
      EXPECT_EQ(smoke.OpaStatus2, static_cast<std::uint8_t>(r.bytes[4]));
      EXPECT_EQ(smoke.OpaStatus3, static_cast<std::uint8_t>(r.bytes[2]));
    }
    EXPECT_EQ(f.LinkState, r.linkState);
    EXPECT_EQ(f.LastStatusWord, *r.lastWordAfter ? r.lastWordAfter : r.lastWord);
    EXPECT_EQ(d.label2.caption, r.label2);
    EXPECT_EQ(d.label2.backColor, r.label2Back);
    EXPECT_EQ(d.label39.caption, r.label39);
    EXPECT_EQ(d.label39.backColor, r.label39Back);
    EXPECT_EQ(f.ValuesInvalid, r.valuesInvalid);
    EXPECT_EQ(d.testPhase, r.testPhase ? std::optional<std::string>(r.testPhase) : std::nullopt);
    EXPECT_EQ(d.command1Enabled, r.command1);
    EXPECT_EQ(d.blankReadings || d.blankSeries, r.blanks || r.valuesInvalid == 1);
  }
}

}  // namespace
}  // namespace vs::smoke

// The gas limits dialog, opened by the gas test form's limits button.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gas/GasTestInputs.h"
#include "gas_station_fixture.h"

namespace vs::test {
namespace {

struct Limits {
  double rpmIdle, rpmLow, rpmHigh, lambdaLow, lambdaHigh, coIdle, coRaised;
  std::int16_t duration;
  friend bool operator==(const Limits&, const Limits&) = default;
};

class GasLimitsDialogTest : public GasStationTest {
 protected:
  Limits Now() const {
    const ShellState& s = p_.shell;
    return {s.GasLimitRpmIdle,          s.GasLimitRpmRaisedLow, s.GasLimitRpmRaisedHigh,
            s.GasLimitLambdaLow,        s.GasLimitLambdaHigh,   s.GasLimitCOcorrIdle,
            s.GasLimitCOcorrRaisedIdle, s.GasTestDuration};
  }
  // Opens the dialog from the gas test form and runs `edit` in it.
  void InDialog(const std::function<void(LIMITIAN&)>& edit) {
    ANGAS& f = p_.angas.IsLoaded() ? p_.angas : OpenGasTest();
    ui_.onModal(p_.limitian, [&] { edit(p_.limitian); });
    ui_.click(f.Command5);
  }
};

// A suggestion is offered in the user's decimal form and reads back as the value shown.
TEST_F(GasLimitsDialogTest, ASuggestionReadsBackUnderEitherDecimalSeparator) {
  for (const auto& regional :
       {plat::RegionalSettings::Italian(), plat::RegionalSettings::English()}) {
    SCOPED_TRACE(regional.decimalSeparator);
    p_.rt.regional = regional;
    InDialog([&](LIMITIAN& d) {
      ui_.choose(d.CombCOcorMin, 3);
      ui_.choose(d.CombCOcorMinacc, 1);
      ui_.type(d.Text8, "819");
      ui_.click(d.CmdApl);
    });
    EXPECT_EQ(p_.shell.GasLimitCOcorrIdle, 0.3);
    EXPECT_EQ(p_.shell.GasLimitCOcorrRaisedIdle, 0.2);
    EXPECT_EQ(p_.shell.GasTestDuration, 32760);
  }
}

// A field that does not read as a number, or a duration beyond the tick count's range, is
// named; the dialog stays open and no limit changes.
TEST_F(GasLimitsDialogTest, ARefusedFieldIsNamedAndChangesNothing) {
  struct Case {
    const char* what;
    std::function<void(LIMITIAN&)> type;
    std::string named;
  };
  OpenGasTest();
  const std::string duration = Text(lang::LIMITIANDProva);
  const Case cases[] = {
      {"letters", [&](LIMITIAN& d) { ui_.type(d.Text1, "mille"); }, "RPMmin"},
      {"the other separator", [&](LIMITIAN& d) { ui_.type(d.Text4, "0.95"); }, "LambdaLI"},
      {"typed corrected CO", [&](LIMITIAN& d) { ui_.type(d.CombCOcorMinacc, "0.2"); },
       "LCOcorMinacc"},
      {"empty", [&](LIMITIAN& d) { ui_.type(d.Text5, ""); }, "LambdaLS"},
      {"duration too long", [&](LIMITIAN& d) { ui_.type(d.Text8, "820"); }, duration},
      {"duration not a number", [&](LIMITIAN& d) { ui_.type(d.Text8, "3 s"); }, duration},
  };
  const Limits before = Now();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui_.clearBoxes();
    InDialog([&](LIMITIAN& d) {
      ui_.type(d.Text1, "900");  // a good edit beside the bad one is not stored either
      c.type(d);
      ui_.answerBox(plat::MsgBoxResult::OK);
      ui_.click(d.CmdApl);
      EXPECT_TRUE(d.Visible());
      ui_.close(d);
    });
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text.rfind(c.named + ":", 0), 0u) << ui_.boxes()[0].text;
    EXPECT_EQ(Now(), before);
  }
}

}  // namespace
}  // namespace vs::test

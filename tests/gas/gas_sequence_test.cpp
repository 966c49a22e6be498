#include <gtest/gtest.h>

#include "gas_test_util.h"

namespace vs {
namespace {

using Phase = GasTestPhase;

// A catalysed test in the own protocol with a reply at every tick: the idle window waits
// for the engine speed, the raised idle for its speed window; the raised-idle corrected CO
// is the own protocol's 0.1 * 3, shown equal to its limit 0.3.
TEST(GasSequence, CatalysedOwnProtocolTickByTick) {
  test::GasBench b(GasProtocol::Own, 1);
  b.state.GasPhase = Phase::Minimo;
  auto rpmAt = [](int tick) {
    if (tick < 110) return 1000.0;   // equal to the idle limit: too fast
    if (tick == 130) return 1200.0;  // a moment too fast inside the window
    if (tick < 292) return 800.0;
    if (tick == 292) return 1900.0;  // raised idle too slow
    if (tick == 293) return 2600.0;  // too fast
    return 2200.0;
  };
  for (int tick = 100; tick <= 340; ++tick) {
    SCOPED_TRACE(tick);
    b.in.readings.GasRpm = rpmAt(tick);
    if (tick >= 292) b.in.readings.GasCOcorr = 3 * 0.1;
    b.ReplyAt(tick);
    if (tick < 110) {
      EXPECT_EQ(b.state.GasPhase, Phase::Minimo);
      EXPECT_EQ(b.screen.Label27, "DEC");
      EXPECT_FALSE(b.screen.Command2Enabled);
    } else if (tick <= 150) {  // idle window: ticks 110 to 150
      EXPECT_EQ(b.state.GasPhase, Phase::Uno);
      EXPECT_EQ(b.screen.Label27, tick == 130 ? "DEC" : "MANMIN");
      EXPECT_TRUE(b.screen.PBar1Visible);
      EXPECT_EQ(b.screen.PBar1Value, static_cast<float>(tick - 110));
    } else if (tick <= 291) {  // passed idle verdict, then the 140-tick wait
      EXPECT_EQ(b.state.GasPhase, Phase::Due);
      EXPECT_EQ(b.screen.Label27, "P1CONCL");
      EXPECT_EQ(b.screen.Label28, "PASSED");
    } else if (tick <= 293) {
      EXPECT_EQ(b.state.GasPhase, Phase::Due);
      EXPECT_EQ(b.screen.Label27, tick == 292 ? "ACC" : "DEC");
      EXPECT_EQ(b.screen.Label28, "ESITO");
    } else if (tick <= 334) {  // raised-idle window: ticks 294 to 334
      EXPECT_EQ(b.state.GasPhase, Phase::Tre);
      EXPECT_EQ(b.screen.Label27, "MANMINACC");
      EXPECT_EQ(b.screen.PBar1Value, static_cast<float>(tick - 294));
    } else {  // the end test is met at the first reply after the window
      EXPECT_EQ(b.state.GasPhase, Phase::Out);
      EXPECT_EQ(b.screen.Label27, "P2CONCL");
      EXPECT_EQ(b.screen.Label28, "PASSED");
      EXPECT_TRUE(b.screen.Command2Enabled);
      EXPECT_FALSE(b.screen.PBar1Visible);
    }
  }
  EXPECT_EQ(b.cert.Label79.Caption, "PASSED");
  EXPECT_EQ(b.cert.Label79.BackColor, plat::colors::kYellow);
}

// MCTC-NET, non-catalysed, speed check off: air in the probe restarts the window; a
// corrected CO above its limit keeps the test waiting with no escape; diagnosis mode
// suspends it; the end test met later concludes it.
TEST(GasSequence, MctcNetIdleHoldsAndWaits) {
  test::GasBench b(GasProtocol::MctcNet, 0);
  b.in.limits.GasRpmCheckEnabled = 0;
  b.in.readings.GasRpm = 3000;
  b.state.GasPhase = Phase::Minimo;
  b.ReplyAt(0);
  EXPECT_EQ(b.state.GasPhase, Phase::Uno);
  EXPECT_TRUE(b.screen.PBar1Visible);
  for (int tick = 10; tick <= 12; ++tick) {
    b.in.readings.GasO2 = 16.0;
    b.in.readings.GasCO2 = 2.0;
    b.ReplyAt(tick);
    EXPECT_FALSE(b.screen.PBar1Visible);
    EXPECT_EQ(b.screen.PBar1Value, 0.0f);
  }
  b.in.readings.GasO2 = 1.0;
  b.in.readings.GasCO2 = 14.0;
  b.in.readings.GasCOcorr = 0.4;
  b.ReplyAt(52);  // the restarted window runs from 12 to 52
  EXPECT_TRUE(b.screen.PBar1Visible);
  EXPECT_EQ(b.screen.PBar1Value, 40.0f);
  for (int tick = 53; tick <= 53 + 700; tick += 50) {
    b.ReplyAt(tick);
    EXPECT_EQ(b.state.GasPhase, Phase::Uno);
    EXPECT_EQ(b.screen.Label27, "CONPRO");
  }
  b.in.readings.GasCOcorr = 0.2;
  b.gate.GasMode = 1;
  b.ReplyAt(800);
  EXPECT_EQ(b.state.GasPhase, Phase::Uno);
  b.gate.GasMode = 0;
  b.ReplyAt(801);
  EXPECT_EQ(b.state.GasPhase, Phase::Out);
  EXPECT_EQ(b.screen.Label27, "CONCL");
  EXPECT_EQ(b.cert.Label79.Caption, "PASSED");
  EXPECT_TRUE(b.screen.Command2Enabled);
}

// Own protocol, non-catalysed: the idle window ends above the limit and escapes 600 ticks
// later into a failed verdict. The result's colour follows the verdict even when the
// language file gives the passed and failed texts alike.
TEST(GasSequence, ResultColourFollowsTheVerdictNotItsText) {
  test::GasBench b(GasProtocol::Own, 4);
  b.in.texts.ProSup = b.in.texts.ProNnSup = "ESITO";
  b.in.readings.GasCOcorr = 0.6;
  b.state.GasPhase = Phase::Minimo;
  b.ReplyAt(0);
  b.ReplyAt(41);
  EXPECT_EQ(b.screen.Label27, "CONPRO");
  b.ReplyAt(640);
  EXPECT_EQ(b.state.GasPhase, Phase::Uno);
  b.ReplyAt(641);
  EXPECT_EQ(b.state.GasPhase, Phase::Out);
  EXPECT_EQ(b.cert.Label79.BackColor, plat::colors::kRed);
}

}  // namespace
}  // namespace vs

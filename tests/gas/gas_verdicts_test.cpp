#include <gtest/gtest.h>

#include <string>

#include "gas/GasVerdicts.h"
#include "gas_test_util.h"

namespace vs {
namespace {

constexpr plat::Color Y = plat::colors::kYellow;
constexpr plat::Color R = plat::colors::kRed;

// Limits of the bench: idle speed 1000, raised idle 2000 to 2500, corrected CO 0.3 at both
// speeds, lambda 0.97 to 1.03.
struct VerdictRow {
  const char* what;
  bool raised;  // ProvaMinAcc after a ProvaMin whose outcome is idlePassed; else ProvaMin
  std::int16_t rpmCheck;
  double rpm, cocorr, lambda;
  std::int16_t idlePassed;
  bool passed;
  // Idle: speed box, corrected-CO box. Raised: speed, corrected-CO and lambda boxes.
  plat::Color speedBox, coBox, lambdaBox;
};

TEST(GasVerdicts, ReadingsAgainstLimits) {
  const double ownCOcorr = 3 * 0.1;  // the own protocol's corrected CO, shown "0.3"
  const VerdictRow rows[] = {
      {"idle inside", false, 1, 800, 0.2, 1, 0, true, Y, Y, Y},
      {"idle on both limits", false, 1, 1000, 0.3, 1, 0, true, Y, Y, Y},
      {"idle own corrected CO on its limit", false, 1, 800, ownCOcorr, 1, 0, true, Y, Y, Y},
      {"idle corrected CO above", false, 1, 800, 0.31, 1, 0, false, Y, R, Y},
      {"idle speed above", false, 1, 1001, 0.2, 1, 0, false, R, Y, Y},
      {"idle both above", false, 1, 1500, 0.5, 1, 0, false, R, R, Y},
      {"idle speed above, check off", false, 0, 5000, 0.2, 1, 0, true, Y, Y, Y},
      {"idle speed above, check 2", false, 2, 5000, 0.2, 1, 0, true, Y, Y, Y},
      {"idle out-of-range speed", false, 1, -1, 0.2, 1, 0, true, Y, Y, Y},
      {"raised inside", true, 1, 2200, 0.2, 1.0, 1, true, Y, Y, Y},
      {"raised on lower bounds", true, 1, 2000, ownCOcorr, 0.97, 1, true, Y, Y, Y},
      {"raised on upper bounds", true, 1, 2500, 0.3, 1.03, 1, true, Y, Y, Y},
      {"raised speed below", true, 1, 1999, 0.2, 1.0, 1, false, R, Y, Y},
      {"raised speed above", true, 1, 2501, 0.2, 1.0, 1, false, R, Y, Y},
      {"raised speed outside, check off", true, 0, 4000, 0.2, 1.0, 1, true, Y, Y, Y},
      {"raised out-of-range speed", true, 1, -1, 0.2, 1.0, 1, false, R, Y, Y},
      {"raised corrected CO above", true, 1, 2200, 0.4, 1.0, 1, false, Y, R, Y},
      {"raised lambda below", true, 1, 2200, 0.2, 0.96, 1, false, Y, Y, R},
      {"raised lambda out of range", true, 0, 2200, 0.2, -1, 1, false, Y, Y, R},
      {"raised inside after a failed idle", true, 1, 2200, 0.2, 1.0, 0, false, Y, Y, Y},
  };
  for (const VerdictRow& row : rows) {
    SCOPED_TRACE(row.what);
    GasTestInput in = test::BenchInput();
    in.limits.GasRpmCheckEnabled = row.rpmCheck;
    in.readings.GasRpm = row.rpm;
    in.readings.GasCOcorr = row.cocorr;
    in.readings.GasLambda = row.lambda;
    GasWindowChanges w;
    GasCertificate cert;
    std::int16_t idlePassed = row.idlePassed;
    bool passed = false;
    if (row.raised) {
      passed = ProvaMinAcc(in, idlePassed, w, cert);
      EXPECT_EQ(cert.Label79.Caption, row.passed ? "PASSED" : "FAILED");
      EXPECT_EQ(cert.Label79.BackColor, row.passed ? Y : R);
      EXPECT_EQ(cert.Label60.BackColor, row.speedBox);
      EXPECT_EQ(cert.Label65.BackColor, row.coBox);
      EXPECT_EQ(cert.Label71.BackColor, row.lambdaBox);
    } else {
      passed = ProvaMin(in, idlePassed, w, cert);
      EXPECT_EQ(idlePassed, row.passed ? 1 : 0);
      EXPECT_EQ(cert.Label46.BackColor, row.speedBox);
      EXPECT_EQ(cert.Label52.BackColor, row.coBox);
    }
    EXPECT_EQ(passed, row.passed);
    EXPECT_EQ(w.Label28Caption, row.passed ? "PASSED" : "FAILED");
    EXPECT_EQ(w.Label28BackColor, row.passed ? plat::colors::kGreen : R);
  }
}

}  // namespace
}  // namespace vs

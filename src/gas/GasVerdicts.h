#pragma once
// The idle and raised-idle verdicts of the gas test. Each compares the readings with the
// limits, shows the verdict on the gas test form and fills its half of the certificate.
#include <cstdint>

#include "gas/GasCertificate.h"
#include "gas/GasTestInputs.h"
#include "gas/GasWindowChanges.h"
#include "shell/LimitRule.h"

namespace vs {

// Both bounds count as inside, compared by the shared limit rule.
inline bool Within(double value, double low, double high) {
  return AtLeast(value, low) && AtMost(value, high);
}

// Idle verdict: sets IdlePassed (1 passed, 0 failed), the verdict line, the idle boxes and the
// data sections of the certificate. Returns whether the idle test passed.
bool ProvaMin(const GasTestInput& in, std::int16_t& IdlePassed, GasWindowChanges& window,
              GasCertificate& cert);

// Raised-idle verdict, after ProvaMin of the same test: sets the verdict line, the result
// and the raised-idle section of the certificate. Returns whether the test passed.
bool ProvaMinAcc(const GasTestInput& in, std::int16_t IdlePassed, GasWindowChanges& window,
                 GasCertificate& cert);

}  // namespace vs

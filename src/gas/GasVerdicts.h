#pragma once
// The idle and raised-idle verdicts of the gas test. Each compares the readings with the
// limits, shows the verdict on the gas test form and fills its half of the certificate.
#include <cstdint>

#include "gas/GasCertificate.h"
#include "gas/GasTestInputs.h"
#include "gas/GasWindowChanges.h"

namespace vs {

// How a reading stands to its limit: negative below, 0 equal, positive above. A reading the
// screen shows equal to its limit is equal to it.
int CompareWithLimit(double value, double limit);

inline bool AtMost(double value, double limit) { return CompareWithLimit(value, limit) <= 0; }
inline bool AtLeast(double value, double limit) { return CompareWithLimit(value, limit) >= 0; }
inline bool Below(double value, double limit) { return CompareWithLimit(value, limit) < 0; }
inline bool Above(double value, double limit) { return CompareWithLimit(value, limit) > 0; }
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

#pragma once
// The steps of the smoke test form that run the free-acceleration series: the phase step
// after every measured-values reply and the manual capture button. Each builds what the
// series core (smoke/PhaseMachine.h, smoke/AccelerationSeries.h) needs from the form and
// the records, runs it, and applies what it returns to the form.
#include "forms/smoke/ANFUMO.h"
#include "smoke/SeriesTypes.h"

namespace vs {

// The phase step for one measured-values reply, its readings already shown: the phase
// machine while the series is open and the readings are usable (in mode 6 the chart run),
// then the end of the series.
void StepTestPhase(ANFUMO& f, smoke::Protocol protocol);

// The manual capture button.
void CaptureAccelerationByHand(ANFUMO& f);

}  // namespace vs

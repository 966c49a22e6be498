#pragma once
// The gas test form's print and limits buttons.
#include "forms/gas/ANGAS.h"

namespace vs {

// Print: stamps the end of measurement; in certification writes "report.log" from the
// certificate and shows the certificate, in diagnosis fills and shows the diagnosis sheet.
// Returns when the page is closed.
void PrintGasTest(ANGAS& form);

// Limits: the limits dialog, loaded and read back into the limits, then shown modally.
void EditGasLimits(ANGAS& form);

}  // namespace vs

#pragma once
// The control kinds. Rules that code relies on:
//  - setting a list's ListIndex (to 0 or more), an option button's Value to true, or a check
//    box's Value to a new value runs the control's Click handler, as the operator's action
//    does; setting a scroll bar's Value runs Change when the value changes;
//  - setting a combo box's Text or a text box's Text from code runs no handler;
//  - out-of-range values of a list index, a scroll bar or a progress bar are refused with
//    RuntimeError 380 and leave the old value.
#include "platform/forms/ButtonControls.h"
#include "platform/forms/Chart.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/GraphicControls.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/RangeControls.h"
#include "platform/forms/TextControls.h"
#include "platform/forms/Timer.h"

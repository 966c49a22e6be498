#pragma once
// Everything a form needs: include this in a form's header.
#include "platform/core/Error.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/MenuItem.h"
#include "platform/forms/MessageBox.h"

#pragma once

// The one record of the TAPI choices, shared by the main window, the settings and the line
// selection dialog.

#include "app/core/tapi_choice.h"

extern TTApi Tapi;

#pragma once

// Our telephony platform: the line functions of TAPI 2.x with their types, constants and
// structures, served by the in-process telephony service of this library.

#include "telephony/tapi/tapi_constants.h"
#include "telephony/tapi/tapi_functions.h"
#include "telephony/tapi/tapi_structures.h"
#include "telephony/tapi/tapi_types.h"

#pragma once

// Component diagnostics: errors, the diagnostic log, the monitor settings and TAPI value names.

#include "telephony/diagnostics/error.h"
#include "telephony/diagnostics/error_text.h"
#include "telephony/diagnostics/log.h"
#include "telephony/diagnostics/log_printer.h"
#include "telephony/diagnostics/popup.h"
#include "telephony/diagnostics/shared_control.h"
#include "telephony/diagnostics/tapi_names.h"
#include "telephony/diagnostics/vigil.h"

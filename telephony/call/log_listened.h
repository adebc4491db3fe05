#pragma once

// Whether a log line would reach anyone: the active log or an OnLog handler. Lines on the busy
// paths of the call list and the dispatch are only composed then.

#include "telephony/line/line_internal.h"

inline bool LogListened(TetLineInternal& line) {
    return line.Log()->Active() || static_cast<bool>(line.OnLog);
}

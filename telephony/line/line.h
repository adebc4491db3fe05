#pragma once

// The line component as forms and the application use it.

#include "telephony/line/line_internal.h"

class TetLine : public TetLineInternal {
public:
    using TetLineInternal::TetLineInternal;
};

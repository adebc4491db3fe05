#pragma once

// The call object as the line library sees it. The call objects live in telephony/call; while
// that part of the library is not present the component is built with an empty call object and
// knows no calls.

#if __has_include("telephony/call/call.h")
#include "telephony/call/call.h"
#define VORBEL_LINE_HAS_CALL_OBJECT 1
#else
class TetLineInternal;
class TetCall {
public:
    explicit TetCall(TetLineInternal*) {}
};
#define VORBEL_LINE_HAS_CALL_OBJECT 0
#endif

#if __has_include("telephony/line/dispatch.h")
#include "telephony/line/dispatch.h"
#define VORBEL_LINE_HAS_DISPATCH 1
#else
#include <cstdint>
class TetLineDispatch {
public:
    explicit TetLineDispatch(TetLineInternal*) {}
    void Dispatch(uint32_t, uint32_t, uintptr_t, uintptr_t, uintptr_t) {}
};
#define VORBEL_LINE_HAS_DISPATCH 0
#endif

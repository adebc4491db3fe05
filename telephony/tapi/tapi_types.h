#pragma once

// Basic types of the telephony interface. Handles of the line functions are opaque 32-bit
// values; window, instance and module handles are pointer sized like the platform's.

#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using BOOL = int32_t;
using DWORD_PTR = uintptr_t;

using LPDWORD = DWORD*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;

using HANDLE = void*;
using HWND = void*;
using HINSTANCE = void*;
using HMODULE = void*;
using FARPROC = void (*)();

using HLINEAPP = DWORD;
using HLINE = DWORD;
using HCALL = DWORD;
using LPHLINEAPP = HLINEAPP*;
using LPHLINE = HLINE*;
using LPHCALL = HCALL*;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~uintptr_t{0});

// The line callback. hDevice is a line or call handle depending on the message.
using LINECALLBACK = void (*)(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwCallbackInstance,
                              DWORD_PTR dwParam1, DWORD_PTR dwParam2, DWORD_PTR dwParam3);

#pragma once

// The line component's error table: a code into its text.

#include <cstdint>

#include <QString>

// "LINEERR_" + the TAPI name for the LINEERR_ codes 0x80000001 to 0x80000056 (0x80000004 and
// 0x80000031 are unassigned and read "Unknown"); the component's own codes as plain words
// (-2 "LINE_ERROR_DEVICE", -3 "TAPIREPLYTIMEOUT", -985 "Not 100% TAPI compliant"); "" for 0;
// "Unknown" for anything else.
QString ErrorText(int32_t code);

#pragma once

// Names of TAPI values as the diagnostic log shows them: one function per constant family, the
// names of TAPI messages and of the handle a message carries, and the text of a string field of
// a TAPI structure. All are pure functions.

#include <cstddef>
#include <cstdint>

#include <QString>

// A family's name function: prefix + the constant's name, or prefix + "???" for a value the
// family does not name (a value with more than one bit set in a flag family, for instance).
using TetNameFunction = QString (*)(uint32_t value);

QString BearerModeName(uint32_t value);
QString ToneModeName(uint32_t value);
QString AddressCapFlagName(uint32_t value);
QString PartyIDFlagName(uint32_t value);
QString CallInfoStateName(uint32_t value);
QString CallStateName(uint32_t value);
QString CallFeatureName(uint32_t value);
QString CallFeature2Name(uint32_t value);
QString BusyModeName(uint32_t value);
QString DialToneModeName(uint32_t value);
QString DisconnectModeName(uint32_t value);
QString SpecialInfoName(uint32_t value);
QString CallOriginName(uint32_t value);
QString CallReasonName(uint32_t value);
QString MediaModeName(uint32_t value);
QString TermDevName(uint32_t value);
QString TermModeName(uint32_t value);
QString TermSharingName(uint32_t value);
QString AddressStateName(uint32_t value);
QString DevCapFlagName(uint32_t value);
QString LineDevStateName(uint32_t value);
QString RemoveFromConfName(uint32_t value);
QString TransferModeName(uint32_t value);
QString ParkModeName(uint32_t value);
QString LineFeatureName(uint32_t value);
QString CallParamFlagName(uint32_t value);
QString ForwardModeName(uint32_t value);
QString AddressFeatureName(uint32_t value);
QString AnswerModeName(uint32_t value);
QString ConnectedModeName(uint32_t value);
QString OfferingModeName(uint32_t value);

// The mode of a call state, named by the family its state selects (dial tone, busy, special
// information, disconnect); "Not applicable" for every other state.
QString StateModeName(uint32_t callState, uint32_t mode);

// The TAPI message name (LINE_CALLSTATE, ...) without any prefix; "???" past the known messages.
QString MessageName(uint32_t message);

// Which handle a message's device handle is: "Line.Handle", "Call.Handle",
// "Line.Handle or Call.Handle", "Phone.Handle" or "Undefined".
QString HandleName(uint32_t message);

// The name functions for the first two parameters of a message in the log's message block;
// nullptr where the parameter has no name. The second depends on the first for LINE_CALLSTATE.
TetNameFunction MessageParam1NameFunction(uint32_t message);
TetNameFunction MessageParam2NameFunction(uint32_t message, uint32_t param1);

// The characters before the first NUL among the first size characters at first, with leading and
// trailing characters of code 32 or below removed; empty for a size of 0 or less. Single-byte
// text (Latin-1). The caller vouches that size bytes are readable at first.
QString TapiString(const char* first, int32_t size);

// The same for a string field of a TAPI structure given by its offset and size fields. The field
// is cut to the structure's dwTotalSize (its first DWORD) and to the bytes the caller says are
// readable (available), so a bad offset or size never reads outside the buffer.
QString TapiString(const void* structure, std::size_t available, uint32_t offset, int32_t size);

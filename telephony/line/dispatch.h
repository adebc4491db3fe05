#pragma once

// Turns the TAPI messages of an open line into the line component's call list updates, refreshes
// and events. Handlers let pending events run at several points, so a handler never keeps a call
// record across such a point: it looks the record up again by handle.

#include <cstdint>

#include <QString>

#include "telephony/line/line_events.h"
#include "telephony/tapi/tapi_types.h"

class TetLineInternal;
struct TetCallLog;

class TetLineDispatch {
public:
    explicit TetLineDispatch(TetLineInternal* line);

    // One message of the line (the callback has already matched the instance to the component).
    void Dispatch(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwParam1, DWORD_PTR dwParam2,
                  DWORD_PTR dwParam3);

    // Takes on a call that has no record yet (first call: selected) and fires OnCallBegin.
    // Returns the call's record (which may be gone again after the events it fires).
    TetCallLog* CallBegin(uint32_t handle);

private:
    void AddressState(DWORD line, DWORD addressID, DWORD states);
    void CallInfo(DWORD call, DWORD infoState);
    void CallState(DWORD call, DWORD state, DWORD mode, DWORD privilege);
    void LineClose();
    void DevSpecific(bool feature, DWORD device, DWORD p1, DWORD p2, DWORD p3);
    void DigitsGathered(DWORD call, DWORD termination);
    void GenerationDone(DWORD call);
    void LineDevState(DWORD states, DWORD p2, DWORD p3);
    void DigitReceived(DWORD call, DWORD digit);
    void MediaModeChange(DWORD call, DWORD mediaMode);
    void ToneDetected(DWORD call, DWORD appSpecific);
    void Reply(DWORD device, DWORD requestID, DWORD result, DWORD p3);
    void NewCall(DWORD call);

    // The events (and record updates) of one call state.
    void StateEvents(uint32_t call, DWORD state, uint32_t mode16);
    void ConferencedBookkeeping(uint32_t call, uint32_t origin, uint32_t mode16);
    // The IDLE part of a call-state message.
    void CallIdle(uint32_t handle);

    // Stamped line "<name> [hhhhhhhh]", the handler under the event rule, then ShowOnEvent.
    void FireCallEvent(const QString& name, bool popupFlag, uint32_t handle,
                       const TET_CallNotifyEvent& handler);
    void LogTapiMessage(const QString& text, DWORD device, DWORD message, DWORD p1, DWORD p2,
                        DWORD p3);
    // Lets pending events run once, unless nestingLimit such runs are already on the stack.
    void ProcessPendingEvents(int nestingLimit);

    TetLineInternal* line_;
};

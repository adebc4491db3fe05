#pragma once

// The per-call record: the call's handle, its copy of the call properties, the slots of its
// pending asynchronous requests and its five party slots. The call object keeps one per known
// call; the selected call's record is copied to and from the call object's properties.

#include <array>
#include <cstddef>
#include <cstdint>

#include <QDateTime>
#include <QString>

// One party of a call as last read from LINECALLINFO (texts trimmed, not formatted).
struct TetCallLogCallerID {
    QString Name;
    QString Number;
    bool Blocked = false;
    bool OutOfArea = false;
    uint32_t Flags = 0;
    // Set once the party's event fired; cleared by a reading that changed the slot.
    bool Reported = false;
    // The call's copy of the party object's EventFilter.
    bool EventFilter = false;
};

struct TetCallLog {
    uint32_t Handle = 0;
    int32_t Tag = 0;

    // Request slots: 0 nothing pending, > 0 the request ID awaited, -1 once LINE_REPLY came.
    int32_t AnswerRequest = 0;
    int32_t DialRequest = 0;
    int32_t MakeCallRequest = 0;
    int32_t HangupRequest = 0;
    int32_t ConferenceSetupRequest = 0;
    int32_t ConferenceDialRequest = 0;
    int32_t ConferenceAddRequest = 0;
    int32_t ConferenceRemoveRequest = 0;
    int32_t TransferSetupRequest = 0;
    int32_t SwapHoldRequest = 0;
    int32_t TransferDialRequest = 0;
    int32_t TransferCompleteRequest = 0;
    int32_t ThreeWayRequest = 0;
    int32_t ParkRequest = 0;
    int32_t PickupRequest = 0;
    int32_t BlindTransferRequest = 0;
    int32_t ForwardRequest = 0;
    int32_t UnholdRequest = 0;
    int32_t UnparkRequest = 0;
    int32_t RedirectRequest = 0;
    int32_t HoldRequest = 0;

    uint32_t State = 0;
    uint32_t StateMode = 0;
    uint32_t Features = 0;
    uint32_t Features2 = 0;
    uint32_t ID = 0;
    uint32_t MediaMode = 0;
    uint32_t BearerMode = 0;
    uint32_t Owners = 0;
    uint32_t Monitors = 0;
    uint32_t Origin = 0;
    uint32_t Reason = 0;
    uint32_t Address = 0;
    uint32_t DisconnectMode = 0;
    uint32_t SpecialInfo = 0;
    uint32_t DialtoneMode = 0;
    uint32_t BusyMode = 0;

    // In UTC; a null date-time means unavailable.
    QDateTime Began;
    QDateTime Connected;
    QDateTime Disconnected;
    QDateTime Ended;

    bool Owner = false;
    QString PhoneNumber;

    // The call's copy of the four monitoring objects' state.
    bool GatherActive = false;
    int32_t GatherCount = 0;
    QString GatherTerminate;
    int32_t GatherTimeout = 0;
    bool MonitorDigitsActive = false;
    bool MonitorMediaActive = false;
    uint32_t MonitoredMediaModes = 0;
    bool MonitorSilenceActive = false;
    int32_t SilenceDuration = 0;

    // TAPI gathers digits into this NUL-terminated area; Digits holds them once gathering ends.
    static constexpr std::size_t DigitCapacity = 32;
    std::array<char, DigitCapacity + 1> DigitBuffer{};
    QString Digits;

    TetCallLogCallerID CallerID;
    TetCallLogCallerID CalledID;
    TetCallLogCallerID ConnectedID;
    TetCallLogCallerID RedirectionID;
    TetCallLogCallerID RedirectingID;

    // The party slots in the order caller, called, connected, redirection, redirecting.
    static constexpr std::size_t PartyCount = 5;
    TetCallLogCallerID& Party(std::size_t index);
    const TetCallLogCallerID& Party(std::size_t index) const;

    // A request slot with the label LINE_REPLY logs for it.
    struct RequestSlot {
        int32_t TetCallLog::*slot;
        const char* label;
        // A successful reply adds the call to the call list (the call was created by the request).
        bool joinsList;
    };
    // Every slot, in the order LINE_REPLY tests them.
    static const std::array<RequestSlot, 21>& RequestSlots();

    // The first slot (in RequestSlots order) holding the request ID, or nullptr.
    const RequestSlot* SlotOfRequest(int32_t requestID) const;
    // Whether any request slot is not 0.
    bool RequestPending() const;
};

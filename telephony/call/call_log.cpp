// The per-call record's party and request slot tables.

#include "telephony/call/call_log.h"

TetCallLogCallerID& TetCallLog::Party(std::size_t index) {
    static constexpr std::array<TetCallLogCallerID TetCallLog::*, PartyCount> parties = {
        &TetCallLog::CallerID, &TetCallLog::CalledID, &TetCallLog::ConnectedID,
        &TetCallLog::RedirectionID, &TetCallLog::RedirectingID};
    return this->*parties.at(index);
}

const TetCallLogCallerID& TetCallLog::Party(std::size_t index) const {
    return const_cast<TetCallLog*>(this)->Party(index);
}

const std::array<TetCallLog::RequestSlot, 21>& TetCallLog::RequestSlots() {
    static const std::array<RequestSlot, 21> slots = {{
        {&TetCallLog::AnswerRequest, " - Call.Answer", false},
        {&TetCallLog::RedirectRequest, " - Call.Redirect", false},
        {&TetCallLog::DialRequest, " - Call.Dial", false},
        {&TetCallLog::MakeCallRequest, " - Call.Dial", true},
        {&TetCallLog::HangupRequest, " - Call.Hangup", false},
        {&TetCallLog::HoldRequest, " - Call.Hold", false},
        {&TetCallLog::ParkRequest, " - Call.Park", false},
        {&TetCallLog::UnholdRequest, " - Call.Unhold", false},
        {&TetCallLog::UnparkRequest, " - Call.Unpark", true},
        {&TetCallLog::ConferenceSetupRequest, " - Conference.Dial (Setup)", true},
        {&TetCallLog::ConferenceDialRequest, " - Conference.Dial (Dial)", false},
        {&TetCallLog::ConferenceAddRequest, " - Conference.AddCall", false},
        {&TetCallLog::ConferenceRemoveRequest, " - Conference.RemoveCall", false},
        {&TetCallLog::PickupRequest, " - Call.Pickup", true},
        {&TetCallLog::TransferSetupRequest, " - Transfer.Dial (Setup)", true},
        {&TetCallLog::TransferDialRequest, " - Transfer.Dial (Dial)", false},
        {&TetCallLog::SwapHoldRequest, " - Transfer.SwapHold", false},
        {&TetCallLog::TransferCompleteRequest, " - Transfer.Complete", false},
        {&TetCallLog::ThreeWayRequest, " - Transfer.ThreeWay", false},
        {&TetCallLog::ForwardRequest, " - Address.Forward.Active", false},
        {&TetCallLog::BlindTransferRequest, " - Call.Transfer", false},
    }};
    return slots;
}

const TetCallLog::RequestSlot* TetCallLog::SlotOfRequest(int32_t requestID) const {
    for (const RequestSlot& s : RequestSlots())
        if (this->*s.slot == requestID)
            return &s;
    return nullptr;
}

bool TetCallLog::RequestPending() const {
    for (const RequestSlot& s : RequestSlots())
        if (this->*s.slot != 0)
            return true;
    return false;
}

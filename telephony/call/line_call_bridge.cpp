// The line component's side of the call object: the selected call as the session, device and
// related-device code needs it, and the call list steps of opening, closing and resetting.

#include "telephony/call/call.h"
#include "telephony/line/line_internal.h"
#include "telephony/tapi/tapi.h"

uint32_t TetLineInternal::SelectedCallHandle() {
    return call_->Handle();
}

uint32_t TetLineInternal::SelectedCallMediaMode() {
    return call_->MediaMode();
}

QString TetLineInternal::SelectedCallPhoneNumber() {
    return call_->PhoneNumber();
}

void TetLineInternal::SetSelectedCallPhoneNumber(const QString& number) {
    call_->SetPhoneNumber(number);
    call_->SaveToRecord(call_->Handle());
}

TetCallParameters* TetLineInternal::CallParameters() {
    return call_->Parameters();
}

void TetLineInternal::LogCallProperties(const QString& prefix) {
    call_->LogProperties(prefix);
}

QString TetLineInternal::StripPunctuationText(const QString& number) {
    return StripPunctuation(number);
}

void TetLineInternal::ClearParties() {
    call_->ClearParties();
}

void TetLineInternal::ClearCallSelection() {
    call_->handle_ = 0;
    call_->active_ = false;
    call_->id_ = 0;
}

void TetLineInternal::ResetCallState() {
    TetCall& c = *call_;
    c.tag_ = 0;
    c.active_ = false;
    c.ClearParties();
    // The records go with the list: no call is known without a session.
    c.ClearList();
    c.count_ = 0;
    c.ClearCallFields();
    c.handle_ = 0;
    c.phoneNumber_.clear();
    c.features_ = 0;
    c.features2_ = 0;
}

void TetLineInternal::ClearCallData() {
    call_->ClearParties();
    call_->ClearCallFields();
}

void TetLineInternal::StartCallList() {
    call_->count_ = 0;
    call_->list_.clear();
    call_->AddCallRecord(TetCall::AddMode::Start, 0);
}

void TetLineInternal::AppendExistingCall(uint32_t handle) {
    call_->AddCallRecord(TetCall::AddMode::Append, handle);
}

void TetLineInternal::SelectNextCall() {
    call_->SelectNextCall();
}

void TetLineInternal::EndAllCalls(bool lineGone) {
    TetCall& c = *call_;
    while (c.count_ > 0) {
        const qsizetype index = std::min<qsizetype>(c.count_, c.list_.size() - 1);
        if (index <= 0) {
            c.count_ = 0;
            break;
        }
        const QString entry = c.list_[index];
        const uint32_t handle = entry.toUInt(nullptr, 16);
        if (c.FindCall(TetCall::FindKind::ByHandle, handle) && !lineGone && handle != 0)
            DeallocateCall(handle);
        if (!c.EndCall(true, handle)) {
            // No record (or its end is already under way further up the stack): the entry
            // still goes, so the loop ends.
            if (index < c.list_.size() && c.list_[index] == entry) {
                c.list_.removeAt(index);
                --c.count_;
            }
        }
    }
    c.setHandle(0);
}

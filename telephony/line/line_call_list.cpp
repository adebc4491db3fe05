// The line component's use of the call object and its call list.

#include "telephony/line/call_bridge.h"
#include "telephony/line/line_internal.h"

// With the call objects present, telephony/call/line_call_bridge.cpp connects these steps to
// the call list; this file then adds nothing.
#if !VORBEL_LINE_HAS_CALL_OBJECT

// Without the call objects the component knows no calls: the list is always empty.

uint32_t TetLineInternal::SelectedCallHandle() {
    return 0;
}

uint32_t TetLineInternal::SelectedCallMediaMode() {
    return 0;
}

QString TetLineInternal::SelectedCallPhoneNumber() {
    return QString();
}

void TetLineInternal::SetSelectedCallPhoneNumber(const QString&) {}

TetCallParameters* TetLineInternal::CallParameters() {
    return nullptr;
}

void TetLineInternal::LogCallProperties(const QString&) {}

QString TetLineInternal::StripPunctuationText(const QString& number) {
    QString out;
    for (QChar c : number)
        if (!QStringLiteral(" +()-.").contains(c))
            out.append(c);
    return out;
}

void TetLineInternal::ClearParties() {}
void TetLineInternal::ClearCallSelection() {}
void TetLineInternal::ResetCallState() {}
void TetLineInternal::ClearCallData() {}
void TetLineInternal::StartCallList() {}
void TetLineInternal::AppendExistingCall(uint32_t) {}
void TetLineInternal::SelectNextCall() {}
void TetLineInternal::EndAllCalls(bool) {}

#endif

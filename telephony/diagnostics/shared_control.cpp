#include "telephony/diagnostics/shared_control.h"

#include "telephony/diagnostics/error_text.h"
#include "telephony/diagnostics/popup.h"

TetSharedControl::TetSharedControl(QObject* owner)
    : owner_(owner), error_(std::make_unique<TetError>(this)),
      vigil_(std::make_unique<TetVigil>(this)) {
    error_->Clear();
}

TetSharedControl::~TetSharedControl() {
    // Nothing may reach the application from a component that is going away.
    OnError = nullptr;
    OnLog = nullptr;
    vigil_->setVisible(false);
}

QString TetSharedControl::KindName(int32_t kind) {
    switch (kind) {
    case KindLine:
        return QStringLiteral("etLine");
    case KindPhone:
        return QStringLiteral("etPhone");
    case KindPlay:
        return QStringLiteral("etWavePlay");
    case KindRecord:
        return QStringLiteral("etWaveRecord");
    default:
        return {};
    }
}

QString TetSharedControl::KindName() const {
    return KindName(kind_);
}

void TetSharedControl::SetComponentKind(int32_t kind) {
    kind_ = kind;
    vigil_->Log()->PutOpeningLines(KindName(kind));
}

bool TetSharedControl::ReportError(int32_t Code, bool IsWarning) {
    // The error object is complete before the line is written, the line before the handler runs.
    // Only the line component's table exists; every kind reads its codes from it.
    const QString text = ErrorText(Code);
    if (Code == 0) {
        error_->Record(0, text, QString());
        return true;
    }
    const QString hex = TetVigil::HexForm(static_cast<uint32_t>(Code));
    error_->Record(Code, text, hex);
    if (IsWarning) {
        LogStamped(QStringLiteral("<< Warning >> ") + text + QStringLiteral(" [") + hex + u']');
        return true;
    }
    LogStamped(QStringLiteral("<< Error >> ") + text + QStringLiteral(" [") + hex + u']');
    if (vigil_->Events() && OnError) {
        const TET_NotifyEvent handler = OnError;
        handler(this);
    }
    vigil_->ShowOnEvent(popup_ != nullptr && popup_->OnError());
    return true;
}

#include "telephony/diagnostics/error.h"

#include "telephony/diagnostics/shared_control.h"

TetError::TetError(TetSharedControl* owner) : owner_(owner) {}

void TetError::Clear() {
    text_.clear();
    hex_.clear();
    number_ = 0;
}

void TetError::Record(int32_t number, const QString& text, const QString& hex) {
    number_ = number;
    text_ = text;
    hex_ = hex;
}

bool TetError::LogProperties(const QString& Header, const QString& Name, const QString& Prefix) {
    TetLog* log = owner_->Log();
    if (!log->Active())
        return false;
    if (!Header.isEmpty())
        log->WriteLine(Header, true);
    const QString path =
        Prefix + (Name.isEmpty() ? QString() : Name + u'.') + QStringLiteral("Error.");
    log->WriteLine(path + QStringLiteral("Text = '") + text_ + u'\'', false);
    log->WriteLine(path + QStringLiteral("Hex = [") + hex_ + u']', false);
    log->WriteLine(path + QStringLiteral("Number = ") + QString::number(number_), false);
    return true;
}

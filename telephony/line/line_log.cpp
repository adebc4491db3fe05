// Log, error and text helpers shared by the line component's objects.

#include "telephony/diagnostics/error_text.h"
#include "telephony/diagnostics/tapi_names.h"
#include "telephony/line/line_internal.h"

void TetLineInternal::Stamped(const QString& line) {
    LogStamped(line);
}

void TetLineInternal::Detail(const QString& line) {
    LogDetail(line);
}

void TetLineInternal::Report(LONG code) {
    ReportError(code, false);
}

void TetLineInternal::ClearError() {
    Error()->Clear();
}

LONG TetLineInternal::ErrorNumber() {
    return Error()->Number();
}

QString TetLineInternal::Hex8(uint32_t value) {
    return TetVigil::HexForm(value);
}

QString TetLineInternal::HexBr(uint32_t value) {
    return TetVigil::HexText(value);
}

QString TetLineInternal::Bool(bool value) {
    return TetVigil::BoolText(value);
}

QString TetLineInternal::StructText(const TapiBuffer& buffer, uint32_t offset, uint32_t size) {
    if (buffer.Empty())
        return QString();
    return TapiString(buffer.Data(), buffer.Size(), offset, static_cast<int32_t>(size));
}

QByteArray TetLineInternal::TapiText(const QString& text) {
    QByteArray bytes = text.toLatin1();
    bytes.append('\0');
    return bytes;
}

QString TetLineInternal::FormatSyntax(const QString& line) const {
    return Vigil()->FormatSyntax(line);
}

QString TetLineInternal::ErrorTextOf(LONG code) const {
    return ErrorText(code);
}

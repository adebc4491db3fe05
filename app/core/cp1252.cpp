#include "app/core/cp1252.h"

#include <array>

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1. Undefined
// bytes keep their own value, as the platform's conversion does.
constexpr std::array<char16_t, 32> High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString fromCp1252(QByteArrayView bytes) {
    QString result(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b <= 0x9F) ? High[b - 0x80] : char16_t(b);
    }
    return result;
}

char cp1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < High.size(); ++i) {
        if (High[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

QByteArray toCp1252(QStringView text) {
    QByteArray result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            result.append('?');
            ++i;
            continue;
        }
        result.append(cp1252Byte(c));
    }
    return result;
}

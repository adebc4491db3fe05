// The INI reader on any bytes: reading must not fail on memory, writing what was read and
// reading it again must give the same values, and a written value must read back.

#include "app/core/ini_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniFile ini;
    ini.parse(bytes);

    const QStringList sections{QStringLiteral("Settings"), QStringLiteral("S"), QString()};
    IniFile again;
    again.parse(ini.toBytes());
    for (const QString& section : sections) {
        if (ini.keys(section) != again.keys(section))
            std::abort();
        for (const QString& key : ini.keys(section)) {
            if (ini.value(section, key) != again.value(section, key))
                std::abort();
            const qint32 a = ini.readInteger(section, key, 12345);
            if (a != again.readInteger(section, key, 12345))
                std::abort();
        }
    }

    // A plain value written under a plain key reads back as written.
    QString value = QString::fromLatin1(bytes.left(40));
    for (QChar& c : value) {
        if (c.unicode() < 0x20 || c == u'"' || c == u'\'' || c.unicode() >= 0x80)
            c = u'x';
    }
    value = value.trimmed();
    ini.writeString(u"Settings", u"Fuzzed", value);
    IniFile written;
    written.parse(ini.toBytes());
    if (written.readString(u"Settings", u"Fuzzed", QStringLiteral("<none>")) != value &&
        !written.keys(u"Settings").isEmpty()) {
        // Only a key of the same name written earlier in the section may win.
        bool earlier = false;
        for (const QString& k : written.keys(u"Settings")) {
            if (k.compare(u"Fuzzed", Qt::CaseInsensitive) == 0) {
                earlier = true;
                break;
            }
        }
        if (!earlier)
            std::abort();
    }
    const auto parsed = IniFile::parseInteger(value);
    if (parsed && IniFile::parseInteger(QString::number(*parsed)) != parsed)
        std::abort();
    return 0;
}

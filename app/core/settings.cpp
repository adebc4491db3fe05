#include "app/core/settings.h"

#include "app/core/ini_file.h"

#include <algorithm>

const QStringList& Settings::keyNames() {
    static const QStringList names = [] {
        QStringList n{QStringLiteral("URL"),       QStringLiteral("INTERVAL"),
                      QStringLiteral("Phonebook"), QStringLiteral("Active"),
                      QStringLiteral("TypeTel"),   QStringLiteral("Lijnen")};
        for (int i = 1; i <= LineCount; ++i)
            n.append(QStringLiteral("lijn%1").arg(i));
        for (int i = 1; i <= LineCount; ++i)
            n.append(QStringLiteral("lijn%1omschr").arg(i));
        n << QStringLiteral("tapiconnect") << QStringLiteral("tapidevice")
          << QStringLiteral("tapideviceid") << QStringLiteral("tapioffering")
          << QStringLiteral("posleft") << QStringLiteral("postop") << QStringLiteral("poswidth")
          << QStringLiteral("posheight");
        return n;
    }();
    return names;
}

bool Settings::load(const QString& path, QString* error) {
    IniFile ini;
    const bool ok = ini.load(path, error);
    const QString& s = SectionName;
    const Settings d; // the defaults of a fresh machine

    URL = ini.readString(s, u"URL", d.URL);
    INTERVAL = std::clamp(ini.readInteger(s, u"INTERVAL", d.INTERVAL), IntervalMin, IntervalMax);
    Phonebook = ini.readString(s, u"Phonebook", d.Phonebook);
    Active = ini.readBool(s, u"Active", d.Active);
    TypeTel = ini.readInteger(s, u"TypeTel", d.TypeTel);
    Lijnen = ini.readInteger(s, u"Lijnen", d.Lijnen);
    for (int i = 0; i < LineCount; ++i)
        lijn[i] = ini.readBool(s, QStringLiteral("lijn%1").arg(i + 1), d.lijn[i]);
    for (int i = 0; i < LineCount; ++i)
        lijnomschr[i] = ini.readString(s, QStringLiteral("lijn%1omschr").arg(i + 1), {});
    tapi.Connect = ini.readBool(s, u"tapiconnect", tapi.Connect);
    tapi.DeviceName = ini.readString(s, u"tapidevice", tapi.DeviceName);
    tapi.DeviceIndex = ini.readInteger(s, u"tapideviceid", tapi.DeviceIndex);
    tapi.Offering = ini.readBool(s, u"tapioffering", tapi.Offering);
    posleft = ini.readInteger(s, u"posleft", d.posleft);
    postop = ini.readInteger(s, u"postop", d.postop);
    poswidth = ini.readInteger(s, u"poswidth", d.poswidth);
    posheight = ini.readInteger(s, u"posheight", d.posheight);
    return ok;
}

bool Settings::save(const QString& path, QString* error) const {
    IniFile ini;
    // Other sections and keys of the file stay; an unreadable file is replaced.
    ini.load(path);
    const auto b = [](bool v) { return v ? QStringLiteral("1") : QStringLiteral("0"); };
    const auto n = [](int v) { return QString::number(v); };
    std::vector<std::pair<QString, QString>> keys;
    const QStringList& names = keyNames();
    QStringList values{URL, n(INTERVAL), Phonebook, b(Active), n(TypeTel), n(Lijnen)};
    for (bool on : lijn)
        values.append(b(on));
    for (const QString& d : lijnomschr)
        values.append(d);
    values << b(tapi.Connect) << tapi.DeviceName << n(tapi.DeviceIndex) << b(tapi.Offering)
           << n(posleft) << n(postop) << n(poswidth) << n(posheight);
    for (qsizetype i = 0; i < names.size(); ++i)
        keys.emplace_back(names[i], values[i]);
    ini.rewriteSection(SectionName, keys);
    return ini.save(path, error);
}

Settings Settings::fromFile(const QString& path, const TTApi& tapiDefaults) {
    Settings s;
    s.tapi = tapiDefaults;
    s.load(path);
    return s;
}

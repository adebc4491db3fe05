#include "app/core/ini_file.h"

#include "app/core/atomic_write.h"
#include "app/core/cp1252.h"

#include <QFile>

#include <algorithm>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView trimmedBlanks(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString oneLine(const QString& value) {
    QString v = value;
    v.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    return v;
}

} // namespace

bool IniFile::load(const QString& path, QString* error) {
    m_sections.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    parse(file.readAll());
    return true;
}

void IniFile::parse(const QByteArray& bytes) {
    m_sections.clear();
    m_sections.push_back(Section{});
    const QString text = fromCp1252(bytes);
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QString raw = text.sliced(pos, end - pos);
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() &&
            text[end + 1] == u'\n')
            ++end;
        pos = end + 1;

        const QStringView t = trimmedBlanks(raw);
        if (t.startsWith(u'[')) {
            const qsizetype close = t.indexOf(u']');
            Section s;
            s.name = trimmedBlanks(t.sliced(1, (close < 0 ? t.size() : close) - 1)).toString();
            s.hasHeader = true;
            s.lines.push_back(Line{raw, {}, {}});
            m_sections.push_back(std::move(s));
            continue;
        }
        Line line{raw, {}, {}};
        const qsizetype eq = t.indexOf(u'=');
        if (!t.startsWith(u';') && eq > 0) {
            line.key = trimmedBlanks(t.first(eq)).toString();
            line.value = t.sliced(eq + 1).toString();
        }
        m_sections.back().lines.push_back(std::move(line));
    }
}

const IniFile::Section* IniFile::findSection(QStringView name) const {
    for (const Section& s : m_sections) {
        if (s.hasHeader && sameName(s.name, name))
            return &s;
    }
    return nullptr;
}

IniFile::Section* IniFile::findSection(QStringView name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

bool IniFile::hasSection(QStringView section) const {
    return findSection(section) != nullptr;
}

QStringList IniFile::keys(QStringView section) const {
    QStringList result;
    if (const Section* s = findSection(section)) {
        for (const Line& l : s->lines) {
            if (!l.key.isEmpty())
                result.append(l.key);
        }
    }
    return result;
}

std::optional<QString> IniFile::value(QStringView section, QStringView key) const {
    const Section* s = findSection(section);
    if (!s)
        return std::nullopt;
    for (const Line& l : s->lines) {
        if (l.key.isEmpty() || !sameName(l.key, key))
            continue;
        QStringView v = trimmedBlanks(l.value);
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
            v = v.sliced(1, v.size() - 2);
        return v.toString();
    }
    return std::nullopt;
}

QString IniFile::readString(QStringView section, QStringView key, const QString& def) const {
    return value(section, key).value_or(def);
}

std::optional<qint32> IniFile::parseInteger(QStringView text) {
    QStringView t = trimmedBlanks(text);
    bool negative = false;
    if (!t.isEmpty() && (t.front() == u'-' || t.front() == u'+')) {
        negative = t.front() == u'-';
        t = t.sliced(1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t = t.sliced(1);
    } else if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t = t.sliced(2);
    }
    if (t.isEmpty())
        return std::nullopt;
    qint64 magnitude = 0;
    for (QChar c : t) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        if (digit < 0 || digit >= base)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > 0x1'0000'0000LL)
            return std::nullopt;
    }
    if (base == 16 && !negative && magnitude <= 0xFFFF'FFFFLL)
        return static_cast<qint32>(static_cast<quint32>(magnitude)); // "$FFFFFFFF" is -1
    const qint64 v = negative ? -magnitude : magnitude;
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return static_cast<qint32>(v);
}

qint32 IniFile::readInteger(QStringView section, QStringView key, qint32 def) const {
    const auto v = value(section, key);
    if (!v)
        return def;
    return parseInteger(*v).value_or(def);
}

bool IniFile::readBool(QStringView section, QStringView key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

IniFile::Section& IniFile::sectionForWrite(QStringView name) {
    if (Section* s = findSection(name))
        return *s;
    if (m_sections.empty())
        m_sections.push_back(Section{});
    Section s;
    s.name = name.toString();
    s.hasHeader = true;
    s.lines.push_back(Line{QLatin1Char('[') + s.name + QLatin1Char(']'), {}, {}});
    m_sections.push_back(std::move(s));
    return m_sections.back();
}

void IniFile::writeString(QStringView section, QStringView key, const QString& value) {
    Section& s = sectionForWrite(section);
    const QString v = oneLine(value);
    for (Line& l : s.lines) {
        if (!l.key.isEmpty() && sameName(l.key, key)) {
            l.value = v;
            l.raw = l.key + QLatin1Char('=') + v;
            return;
        }
    }
    // After the last key line, so that trailing blank lines stay between the sections.
    qsizetype at = static_cast<qsizetype>(s.lines.size());
    while (at > 1 && trimmedBlanks(s.lines[static_cast<std::size_t>(at - 1)].raw).isEmpty())
        --at;
    s.lines.insert(s.lines.begin() + at,
                   Line{key.toString() + QLatin1Char('=') + v, key.toString(), v});
}

void IniFile::writeInteger(QStringView section, QStringView key, qint32 value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(QStringView section, QStringView key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::rewriteSection(QStringView section,
                             const std::vector<std::pair<QString, QString>>& keys) {
    Section& s = sectionForWrite(section);
    std::vector<Line> lines;
    lines.push_back(s.lines.front()); // the header
    for (const auto& [k, v] : keys) {
        const QString one = oneLine(v);
        lines.push_back(Line{k + QLatin1Char('=') + one, k, one});
    }
    for (std::size_t i = 1; i < s.lines.size(); ++i) {
        const Line& l = s.lines[i];
        const bool ours = !l.key.isEmpty() &&
                          std::any_of(keys.begin(), keys.end(),
                                      [&](const auto& kv) { return sameName(kv.first, l.key); });
        if (!ours)
            lines.push_back(l);
    }
    s.lines = std::move(lines);
}

QByteArray IniFile::toBytes() const {
    QString text;
    for (const Section& s : m_sections) {
        for (const Line& l : s.lines) {
            text += l.raw;
            text += QStringLiteral("\r\n");
        }
    }
    return toCp1252(text);
}

bool IniFile::save(const QString& path, QString* error) const {
    return writeFileAtomically(path, toBytes(), error);
}

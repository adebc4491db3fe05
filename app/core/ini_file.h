#pragma once

// A small INI reader/writer that keeps the order of sections, keys and comment lines and reads
// values the way the Windows profile functions do:
//  - section and key names compare case-insensitively; the first matching section and the first
//    matching key in it count;
//  - a value is the text after the first "=", stripped of surrounding blanks and tabs, then of
//    one pair of surrounding double or single quotes when it begins and ends with the same one;
//  - lines starting with ";" are comments;
//  - integers are read as the whole value: an optional sign and decimal digits, or "$"/"0x"
//    followed by hexadecimal digits, within the 32-bit range. Anything else, an empty value
//    included, counts as missing and gives the default: "7" -> 7, "-3" -> -3, " 12 " -> 12,
//    "12abc" -> default, "yes" -> default, "" -> default.
// The file is Windows-1252 without BOM, lines end with "\r\n". Saving is atomic: the previous
// file stays whole when writing fails.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class IniFile {
public:
    // Reads path. A missing file reads as empty and is no error; an unreadable one gives false
    // with the reason in *error and leaves the object empty.
    bool load(const QString& path, QString* error = nullptr);
    void parse(const QByteArray& bytes);

    std::optional<QString> value(QStringView section, QStringView key) const;
    QString readString(QStringView section, QStringView key, const QString& def) const;
    qint32 readInteger(QStringView section, QStringView key, qint32 def) const;
    // Read as an integer, non-zero meaning true; an unreadable integer gives def.
    bool readBool(QStringView section, QStringView key, bool def) const;

    // Replaces the first matching key in place, or appends it to the section (the section is
    // appended to the file when missing). Line breaks in value become blanks, since the file
    // holds one key per line.
    void writeString(QStringView section, QStringView key, const QString& value);
    void writeInteger(QStringView section, QStringView key, qint32 value);
    void writeBool(QStringView section, QStringView key, bool value);

    // Puts the given keys first in the section, in the order given, with these values; other
    // lines of the section follow in their order, later copies of the given keys are dropped.
    void rewriteSection(QStringView section, const std::vector<std::pair<QString, QString>>& keys);

    bool hasSection(QStringView section) const;
    QStringList keys(QStringView section) const;

    QByteArray toBytes() const;
    // Writes the file atomically (temporary file, then rename).
    bool save(const QString& path, QString* error = nullptr) const;

    // Parses an integer value as described above.
    static std::optional<qint32> parseInteger(QStringView text);

private:
    struct Line {
        QString raw;   // the line as read, kept for comments and unknown lines
        QString key;   // empty when the line is not a key line
        QString value; // raw value text after "=" (not trimmed)
    };
    struct Section {
        QString name; // empty name: the lines before the first section header
        bool hasHeader = false;
        std::vector<Line> lines;
    };
    const Section* findSection(QStringView name) const;
    Section* findSection(QStringView name);
    Section& sectionForWrite(QStringView name);
    std::vector<Section> m_sections;
};

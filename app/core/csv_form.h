#pragma once

// The CSV form of a grid, the file form of the call log and of the phonebook.
//
// Writing: one line per row ending in "\r\n"; fields separated by ","; quotes doubled; a field
// with a comma or a quote enclosed in quotes, and also one with any other character the reader
// may take for a separator (; # tab | @ * &), so that the file is always read back with
// commas; an empty field written as two quotes; a line break inside a field written as the
// byte 0x0B (in every field, so that a break never splits a row). The file is replaced
// atomically.
//
// Reading: lines end at "\r", "\n" or "\r\n"; the separator is detected from the first two
// lines among , ; # tab | @ * - + & (quoted fields are not counted, and "-" or "+" never
// displaces a comma, so phone numbers written with hyphens do not split a row); quoted fields
// with doubled quotes; a quote that is never closed keeps the rest of the line as the field's
// text; 0x0B read back as "\r\n". A file with no line is the error "File is empty".

#include "app/core/text_table.h"

#include <QByteArray>
#include <QString>

#include <optional>

class CsvForm {
public:
    // The separator detected from the first two lines, or nullopt when there is none.
    static std::optional<char> detectSeparator(QByteArrayView line1, QByteArrayView line2);

    // Parses bytes into a table of at least minColumns columns, one row per line. On error
    // (empty file, file too large) returns false with the message in *error; out is untouched.
    static bool parse(QByteArray bytes, int minColumns, TextTable& out, QString* error = nullptr);

    // Reads the file at path as parse() does.
    static bool read(const QString& path, int minColumns, TextTable& out, QString* error = nullptr);

    // The CSV bytes of rows [firstRow, rowCount) of the table, every column of the table.
    static QByteArray toBytes(const TextTable& table, int firstRow = 0);

    // Writes the table atomically; on failure the previous file stays whole.
    static bool write(const QString& path, const TextTable& table, QString* error = nullptr);

    // Splits one line with the given separator (for tests and tools): the fields as text.
    static QStringList splitLine(QByteArrayView line, std::optional<char> separator);
};

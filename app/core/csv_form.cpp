#include "app/core/csv_form.h"

#include "app/core/atomic_write.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr char Quote = '"';
constexpr std::array<char, 10> Candidates = {',', ';', '#', '\t', '|', '@', '*', '-', '+', '&'};

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool isCandidate(char c) {
    return std::find(Candidates.begin(), Candidates.end(), c) != Candidates.end();
}

// Occurrences of c in line outside quoted fields: a quote opens one at the line start or right
// after a candidate separator. With oddRunsOnly, a run of consecutive copies counts only when
// its length is odd or it ends the line.
qsizetype countCandidate(QByteArrayView line, char c, bool oddRunsOnly) {
    const qsizetype n = line.size();
    qsizetype i = 0;
    qsizetype count = 0;
    while (i < n) {
        const char b = line[i];
        if (b == Quote && (i == 0 || isCandidate(line[i - 1]))) {
            ++i;
            while (i < n) {
                if (line[i] == Quote) {
                    if (i + 1 < n && line[i + 1] == Quote) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            continue;
        }
        if (b == c) {
            const qsizetype runStart = i;
            while (i < n && line[i] == c)
                ++i;
            const qsizetype run = i - runStart;
            if (!oddRunsOnly || run % 2 == 1 || i == n)
                count += run;
            continue;
        }
        ++i;
    }
    return count;
}

// Doubled quotes in d[from, to) made single, written in place from `from`; returns the new end.
qsizetype unescapeInPlace(char* d, qsizetype from, qsizetype to) {
    qsizetype w = from;
    for (qsizetype k = from; k < to; ++k) {
        d[w++] = d[k];
        if (d[k] == Quote && k + 1 < to && d[k + 1] == Quote)
            ++k;
    }
    return w;
}

TextTable::Slice slice(qsizetype start, qsizetype end) {
    return {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
}

// Byte classes for splitting a line: where a plain field stops, the quote, and the characters
// that make the writer enclose a field.
constexpr unsigned char StopsField = 1;
constexpr unsigned char IsQuote = 2;
constexpr unsigned char NeedsQuotes = 4;

// Characters that the writer encloses in quotes besides the quote itself; "-" and "+" never
// displace a comma, so they stay bare.
constexpr bool writtenQuoted(char c) {
    return c == ',' || c == ';' || c == '#' || c == '\t' || c == '|' || c == '@' || c == '*' ||
           c == '&';
}

struct ByteClasses {
    std::array<unsigned char, 256> of{};
    explicit ByteClasses(int separator) {
        for (int b = 0; b < 256; ++b) {
            if (writtenQuoted(static_cast<char>(b)))
                of[static_cast<std::size_t>(b)] = NeedsQuotes;
        }
        of['"'] = IsQuote;
        of['\r'] = StopsField;
        of['\n'] = StopsField;
        if (separator >= 0)
            of[static_cast<std::size_t>(separator)] |= StopsField;
    }
};

// Splits the line starting at pos into fields; returns the index of its end (a line-end byte
// or n). Field texts are unescaped in place in d. verbatim tells whether the writer would give
// the line back byte for byte (comma separated, every field in its written form, untouched).
qsizetype parseLine(char* d, qsizetype pos, qsizetype n, int separator, const ByteClasses& classes,
                    std::vector<TextTable::Slice>& fields, bool& verbatim) {
    fields.clear();
    const bool hasSeparator = separator >= 0;
    const char sep = static_cast<char>(separator);
    verbatim = separator == ',';
    qsizetype p = pos;
    while (true) {
        if (hasSeparator && p < n && d[p] == Quote) {
            // Quoted field: up to the next quote that is not part of a doubled pair.
            const qsizetype begin = p + 1;
            qsizetype w = begin;
            qsizetype i = begin;
            bool closed = false;
            unsigned char seen = 0;
            while (i < n && !isLineEnd(d[i])) {
                if (d[i] == Quote) {
                    if (i + 1 < n && d[i + 1] == Quote) {
                        d[w++] = Quote;
                        i += 2;
                        verbatim = false; // the line's bytes change here
                        continue;
                    }
                    closed = true;
                    break;
                }
                seen |= classes.of[static_cast<unsigned char>(d[i])];
                d[w++] = d[i++];
            }
            fields.push_back(slice(begin, w));
            // The writer quotes an empty field, and a field with a separator-like character.
            const bool quotedOnWrite = w == begin || (seen & NeedsQuotes);
            if (!closed || !quotedOnWrite)
                verbatim = false;
            if (!closed)
                return i; // an unclosed quote keeps the rest of the line as its text
            // Skip the text up to and including the next separator.
            ++i;
            if (i < n && d[i] != sep && !isLineEnd(d[i]))
                verbatim = false;
            while (i < n && d[i] != sep && !isLineEnd(d[i]))
                ++i;
            if (i >= n || isLineEnd(d[i]))
                return i;
            p = i + 1;
            continue;
        }
        // Plain field: up to the next separator.
        qsizetype i = p;
        unsigned char seen = 0;
        while (i < n) {
            const unsigned char c = classes.of[static_cast<unsigned char>(d[i])];
            if (c & StopsField)
                break;
            seen |= c;
            ++i;
        }
        // The writer gives a bare field back only when it is not empty and needs no quotes.
        if (i == p || seen != 0)
            verbatim = false;
        const bool quotes = seen & IsQuote;
        if (hasSeparator && i < n && d[i] == sep) {
            fields.push_back(slice(p, quotes ? unescapeInPlace(d, p, i) : i));
            p = i + 1;
            continue;
        }
        // The last field loses one leading and one trailing quote.
        qsizetype begin = p;
        qsizetype end = i;
        if (begin < end && d[begin] == Quote)
            ++begin;
        if (end > begin && d[end - 1] == Quote)
            --end;
        fields.push_back(slice(begin, quotes ? unescapeInPlace(d, begin, end) : end));
        return i;
    }
}

qsizetype lineEnd(QByteArrayView bytes, qsizetype from) {
    qsizetype i = from;
    while (i < bytes.size() && !isLineEnd(bytes[i]))
        ++i;
    return i;
}

qsizetype nextLineStart(QByteArrayView bytes, qsizetype end) {
    if (end >= bytes.size())
        return bytes.size();
    if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
        return end + 2;
    return end + 1;
}

// Encodes rows into a reusable buffer of raw bytes; the caller drains it in pieces. Works on
// a local output pointer: stores through char* may alias anything, so members would be
// reloaded after every byte.
class RowEncoder {
public:
    explicit RowEncoder(qsizetype chunk) { m_buffer.resize(static_cast<std::size_t>(chunk)); }

    void row(const TextTable& table, int r, int columns) {
        const TextTable::RowSlices cells = table.rowSlices(r);
        const char* const text = table.textData();
        const auto cellAt = [&](int c) {
            return static_cast<std::uint32_t>(c) < cells.count ? cells.cells[c]
                                                               : TextTable::Slice{0, 0};
        };
        // Worst case: every byte doubled, two quotes and a separator per cell, the line end.
        std::size_t worst = 2;
        for (int c = 0; c < columns; ++c)
            worst += 2 * std::size_t{cellAt(c).size} + 3;
        if (m_size + worst > m_buffer.size())
            m_buffer.resize(std::max(2 * m_buffer.size(), m_size + worst));
        char* const base = m_buffer.data();
        char* o = base + m_size;
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                *o++ = ',';
            const TextTable::Slice s = cellAt(c);
            o = field(o, text + s.start, s.size);
        }
        *o++ = '\r';
        *o++ = '\n';
        m_size = static_cast<std::size_t>(o - base);
    }

    // Bytes that are already in written form, such as a line kept as read.
    void raw(const char* bytes, std::size_t size) {
        if (m_size + size > m_buffer.size())
            m_buffer.resize(std::max(2 * m_buffer.size(), m_size + size));
        std::memcpy(m_buffer.data() + m_size, bytes, size);
        m_size += size;
    }

    QByteArrayView bytes() const {
        return QByteArrayView(m_buffer.data(), static_cast<qsizetype>(m_size));
    }
    qsizetype size() const { return static_cast<qsizetype>(m_size); }
    void clear() { m_size = 0; }

private:
    static char* field(char* o, const char* cell, std::uint32_t size) {
        if (size == 0) {
            *o++ = Quote;
            *o++ = Quote;
            return o;
        }
        // Copy and look for special bytes in one pass; the rare special field is redone.
        unsigned flags = 0;
        for (std::uint32_t i = 0; i < size; ++i) {
            const auto b = static_cast<unsigned char>(cell[i]);
            o[i] = static_cast<char>(b);
            flags |= Special[b];
        }
        if (flags == 0)
            return o + size;
        const bool enclose = flags & Encloses;
        if (enclose)
            *o++ = Quote;
        for (std::uint32_t i = 0; i < size; ++i) {
            const char c = cell[i];
            if (c == Quote) {
                *o++ = Quote;
                *o++ = Quote;
            } else if (isLineEnd(c)) {
                // A line break never reaches the file: it would split the row.
                *o++ = '\x0B';
                if (c == '\r' && i + 1 < size && cell[i + 1] == '\n')
                    ++i;
            } else {
                *o++ = c;
            }
        }
        if (enclose)
            *o++ = Quote;
        return o;
    }

    static constexpr unsigned Encloses = 1;
    static constexpr unsigned Breaks = 2;
    static constexpr std::array<unsigned char, 256> Special = [] {
        std::array<unsigned char, 256> t{};
        // Besides the comma and the quote, the other characters that the reader may take for
        // a separator are enclosed too, so that a file of ours is always read back with commas
        // ("-" and "+" never displace a comma, so phone numbers stay bare).
        for (char c : Candidates) {
            if (c != '-' && c != '+')
                t[static_cast<unsigned char>(c)] = Encloses;
        }
        t['"'] = Encloses;
        t['\r'] = Breaks;
        t['\n'] = Breaks;
        return t;
    }();

    std::vector<char> m_buffer;
    std::size_t m_size = 0;
};

constexpr qsizetype WriteChunk = 1 << 20;

} // namespace

std::optional<char> CsvForm::detectSeparator(QByteArrayView line1, QByteArrayView line2) {
    std::optional<char> chosen;
    qsizetype best = 0;
    // Phone numbers are often written with "-" or "+"; those never displace a comma, the
    // separator of the program's own files.
    const auto keepsComma = [&](char c) { return chosen == ',' && (c == '-' || c == '+'); };
    for (bool oddRuns : {true, false}) {
        for (char c : Candidates) {
            const qsizetype a = countCandidate(line1, c, oddRuns);
            const qsizetype b = countCandidate(line2, c, oddRuns);
            if (a == b && a > best && !keepsComma(c)) {
                chosen = c;
                best = a;
            }
        }
        if (chosen)
            return chosen;
    }
    for (char c : Candidates) {
        const qsizetype a = countCandidate(line1, c, false);
        const qsizetype b = countCandidate(line2, c, false);
        const qsizetype most = std::max(a, b);
        if (most > best && !keepsComma(c)) {
            chosen = c;
            best = most;
        }
    }
    return chosen;
}

bool CsvForm::parse(QByteArray bytes, int minColumns, TextTable& out, QString* error) {
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("File is empty");
        return false;
    }
    if (static_cast<std::size_t>(bytes.size()) >= std::numeric_limits<std::uint32_t>::max()) {
        if (error)
            *error = QStringLiteral("File is too large");
        return false;
    }
    const QByteArrayView view(bytes);
    const qsizetype end1 = lineEnd(view, 0);
    const qsizetype start2 = nextLineStart(view, end1);
    const QByteArrayView line1 = view.first(end1);
    const QByteArrayView line2 = view.sliced(start2, lineEnd(view, start2) - start2);
    const std::optional<char> separator = detectSeparator(line1, line2);

    // Room for every line at once, so that a long log is not copied while it grows.
    qsizetype lines = 1;
    for (const char *p = bytes.constData(), *e = p + bytes.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(e - p)))); ++p)
        ++lines;
    std::vector<TextTable::Slice> fields;
    const qsizetype fieldsPerLine =
        separator ? countCandidate(line1, *separator, false) + 1 : qsizetype(1);

    const ByteClasses classes(separator ? *separator : -1);

    TextTable table(minColumns);
    const qsizetype n = bytes.size();
    table.adoptBuffer(std::move(bytes));
    table.reserve(
        static_cast<std::size_t>(lines),
        std::min(static_cast<std::size_t>(lines) * static_cast<std::size_t>(fieldsPerLine),
                 static_cast<std::size_t>(n + lines)));
    char* d = table.bufferData();
    qsizetype pos = 0;
    while (pos < n) {
        bool verbatim = false;
        const qsizetype end =
            parseLine(d, pos, n, separator ? *separator : -1, classes, fields, verbatim);
        if (table.rowCount() == std::numeric_limits<int>::max()) {
            if (error)
                *error = QStringLiteral("File is too large");
            return false;
        }
        table.appendSlicedRow(fields.data(), fields.size(),
                              verbatim ? std::optional(slice(pos, end)) : std::nullopt);
        pos = nextLineStart(QByteArrayView(d, n), end);
    }
    out = std::move(table);
    return true;
}

bool CsvForm::read(const QString& path, int minColumns, TextTable& out, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // Refused before reading, so that a huge file is not read into memory only to be refused.
    if (static_cast<quint64>(file.size()) >= std::numeric_limits<std::uint32_t>::max()) {
        if (error)
            *error = QStringLiteral("File is too large");
        return false;
    }
    return parse(file.readAll(), minColumns, out, error);
}

namespace {

// Feeds the written form of rows [firstRow, rowCount) to sink in pieces. Rows still holding
// their line as read are copied as they are; long runs of such lines go to the sink straight
// from the table, without a copy.
template <typename Sink> bool encodeRows(const TextTable& table, int firstRow, Sink&& sink) {
    constexpr std::size_t DirectRun = 64 * 1024;
    const int rows = table.rowCount();
    // Room for a chunk, or for the whole of a small table.
    RowEncoder encoder(std::min<qsizetype>(WriteChunk, static_cast<qsizetype>(table.textSize()) +
                                                           8 * qsizetype{rows} + 64));
    const int columns = table.columnCount();
    const char* const text = table.textData();
    const auto drain = [&] {
        const bool ok = encoder.size() == 0 || sink(encoder.bytes());
        encoder.clear();
        return ok;
    };
    const auto followedByCrLf = [&](const TextTable::Slice& line) {
        const std::size_t end = std::size_t{line.start} + line.size;
        return end + 1 < table.textSize() && text[end] == '\r' && text[end + 1] == '\n';
    };
    int r = std::max(firstRow, 0);
    while (r < rows) {
        const auto line = table.verbatimLine(r);
        if (!line || table.cellCountOf(r) != columns) {
            encoder.row(table, r, columns);
            ++r;
        } else if (!followedByCrLf(*line)) {
            encoder.raw(text + line->start, line->size);
            encoder.raw("\r\n", 2);
            ++r;
        } else {
            // A run of verbatim lines that lie one after the other in the buffer.
            const std::size_t start = line->start;
            std::size_t end = std::size_t{line->start} + line->size + 2;
            ++r;
            while (r < rows) {
                const auto next = table.verbatimLine(r);
                if (!next || next->start != end || table.cellCountOf(r) != columns ||
                    !followedByCrLf(*next))
                    break;
                end = std::size_t{next->start} + next->size + 2;
                ++r;
            }
            if (end - start >= DirectRun) {
                if (!drain() ||
                    !sink(QByteArrayView(text + start, static_cast<qsizetype>(end - start))))
                    return false;
            } else {
                encoder.raw(text + start, end - start);
            }
        }
        if (encoder.size() >= WriteChunk && !drain())
            return false;
    }
    return drain();
}

} // namespace

QByteArray CsvForm::toBytes(const TextTable& table, int firstRow) {
    QByteArray out;
    encodeRows(table, firstRow, [&](QByteArrayView bytes) {
        out.append(bytes);
        return true;
    });
    return out;
}

bool CsvForm::write(const QString& path, const TextTable& table, QString* error) {
    // Written in pieces: no second copy of a long log in memory.
    AtomicFileWriter writer(path);
    const bool ok =
        writer.open() &&
        encodeRows(table, 0, [&](QByteArrayView bytes) { return writer.write(bytes); }) &&
        writer.commit();
    if (!ok && error)
        *error = writer.errorString();
    return ok;
}

QStringList CsvForm::splitLine(QByteArrayView line, std::optional<char> separator) {
    QByteArray copy = line.toByteArray();
    const ByteClasses classes(separator ? *separator : -1);
    std::vector<TextTable::Slice> fields;
    bool verbatim = false;
    parseLine(copy.data(), 0, copy.size(), separator ? *separator : -1, classes, fields, verbatim);
    QStringList result;
    for (const auto& f : fields)
        result.append(TextTable::decodeCell(QByteArrayView(copy.constData() + f.start, f.size)));
    return result;
}

#pragma once

// A grid of texts stored compactly for very long call logs: every cell is a slice of one byte
// buffer in Windows-1252, rows are slices of one cell array. A line break inside a cell is kept
// as the single byte 0x0B, the form the CSV files use; cell() gives it back as "\r\n".

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class TextTable {
public:
    explicit TextTable(int columns = 0) : m_columns(columns) {}

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int columnCount() const { return m_columns; }
    // Widens the table; it never narrows, so no cell text is lost.
    void ensureColumns(int columns);

    // Cell bytes (Windows-1252, line breaks as 0x0B); empty outside the row's cells.
    QByteArrayView cellBytes(int row, int column) const;
    // Cell text with 0x0B shown as "\r\n".
    QString cell(int row, int column) const;
    QStringList rowTexts(int row) const;

    void setCell(int row, int column, QStringView text);
    void setCellBytes(int row, int column, QByteArrayView bytes);

    void appendRow(const QStringList& cells);
    void insertEmptyRows(int row, int count);
    void removeRows(int row, int count);
    void clear(int columns);

    // Stable sort of the rows; less compares two row indexes.
    void sortRows(const std::function<bool(int, int)>& less);

    // Bytes held by the table, for the memory figures of the benchmarks.
    std::size_t memoryBytes() const;

    // Canonical cell bytes of a text: Windows-1252 with every "\r\n", "\r" and "\n" as 0x0B.
    static QByteArray encodeCell(QStringView text);
    static QString decodeCell(QByteArrayView bytes);

    // For readers that fill the table straight from a file buffer: the buffer becomes the
    // table's text, and rows are added as slices of it.
    struct Slice {
        std::uint32_t start;
        std::uint32_t size;
    };
    void adoptBuffer(QByteArray buffer);
    char* bufferData() { return m_text.data(); }
    void reserve(std::size_t rows, std::size_t cells);
    // line, when given, is the row's own line in the buffer, already in the exact form the
    // writer would give it: saving then copies it as it is.
    void appendSlicedRow(const Slice* cells, std::size_t count,
                         std::optional<Slice> line = std::nullopt);
    // The row's line as read, when it is still the row's exact written form.
    std::optional<Slice> verbatimLine(int row) const {
        const Row& r = m_rows[static_cast<std::size_t>(row)];
        if (r.lineSize == NoLine)
            return std::nullopt;
        return Slice{r.lineStart, r.lineSize};
    }

    // Direct access for writers that walk every cell: the row's slices of text().
    struct RowSlices {
        const Slice* cells;
        std::uint32_t count;
    };
    RowSlices rowSlices(int row) const {
        const Row& r = m_rows[static_cast<std::size_t>(row)];
        return {m_cells.data() + r.first, r.count};
    }
    const char* textData() const { return m_text.constData(); }
    std::size_t textSize() const { return static_cast<std::size_t>(m_text.size()); }
    int cellCountOf(int row) const {
        return static_cast<int>(m_rows[static_cast<std::size_t>(row)].count);
    }

private:
    static constexpr std::uint32_t NoLine = 0xFFFF'FFFF;
    struct Row {
        std::uint32_t first;
        std::uint32_t count;
        std::uint32_t lineStart = 0;
        std::uint32_t lineSize = NoLine;
    };
    Slice appendText(QByteArrayView bytes);
    Row& widenRow(int row, int columns);
    void compactIfWasteful();

    QByteArray m_text;
    std::vector<Slice> m_cells;
    std::vector<Row> m_rows;
    int m_columns = 0;
    std::size_t m_deadBytes = 0;
    std::size_t m_deadCells = 0;
};

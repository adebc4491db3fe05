#include "app/core/text_table.h"

#include "app/core/cp1252.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {
constexpr char LineBreakByte = 0x0B;
constexpr std::size_t SliceLimit = std::numeric_limits<std::uint32_t>::max();
} // namespace

void TextTable::ensureColumns(int columns) {
    m_columns = std::max(m_columns, columns);
}

QByteArrayView TextTable::cellBytes(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0)
        return {};
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::uint32_t>(column) >= r.count)
        return {};
    const Slice& s = m_cells[r.first + static_cast<std::uint32_t>(column)];
    return QByteArrayView(m_text.constData() + s.start, s.size);
}

QString TextTable::cell(int row, int column) const {
    return decodeCell(cellBytes(row, column));
}

QStringList TextTable::rowTexts(int row) const {
    QStringList result;
    for (int c = 0; c < m_columns; ++c)
        result.append(cell(row, c));
    return result;
}

QByteArray TextTable::encodeCell(QStringView text) {
    QByteArray bytes = toCp1252(text);
    if (!bytes.contains('\r') && !bytes.contains('\n'))
        return bytes;
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            out.append(LineBreakByte);
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out.append(LineBreakByte);
        } else {
            out.append(c);
        }
    }
    return out;
}

QString TextTable::decodeCell(QByteArrayView bytes) {
    if (!bytes.contains(LineBreakByte))
        return fromCp1252(bytes);
    QString text = fromCp1252(bytes);
    text.replace(QChar(LineBreakByte), QStringLiteral("\r\n"));
    return text;
}

TextTable::Slice TextTable::appendText(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return {0, 0};
    if (static_cast<std::size_t>(m_text.size()) + static_cast<std::size_t>(bytes.size()) >
        SliceLimit)
        throw std::length_error("text table is full");
    const Slice s{static_cast<std::uint32_t>(m_text.size()),
                  static_cast<std::uint32_t>(bytes.size())};
    m_text.append(bytes);
    return s;
}

TextTable::Row& TextTable::widenRow(int row, int columns) {
    Row& r = m_rows[static_cast<std::size_t>(row)];
    if (r.count >= static_cast<std::uint32_t>(columns))
        return r;
    // The row's cells move to the end of the cell array with room for the new ones.
    const std::uint32_t first = static_cast<std::uint32_t>(m_cells.size());
    for (std::uint32_t i = 0; i < r.count; ++i)
        m_cells.push_back(m_cells[r.first + i]);
    m_cells.resize(first + static_cast<std::uint32_t>(columns), Slice{0, 0});
    m_deadCells += r.count;
    r = Row{first, static_cast<std::uint32_t>(columns), 0, NoLine};
    return r;
}

void TextTable::setCellBytes(int row, int column, QByteArrayView bytes) {
    if (row < 0 || row >= rowCount() || column < 0)
        return;
    ensureColumns(column + 1);
    Row& r = widenRow(row, column + 1);
    r.lineSize = NoLine; // the line as read no longer shows the row
    Slice& s = m_cells[r.first + static_cast<std::uint32_t>(column)];
    m_deadBytes += s.size;
    const Slice fresh = appendText(bytes);
    m_cells[r.first + static_cast<std::uint32_t>(column)] = fresh;
    compactIfWasteful();
}

void TextTable::setCell(int row, int column, QStringView text) {
    setCellBytes(row, column, encodeCell(text));
}

void TextTable::appendRow(const QStringList& cells) {
    ensureColumns(static_cast<int>(cells.size()));
    const std::uint32_t first = static_cast<std::uint32_t>(m_cells.size());
    for (const QString& c : cells)
        m_cells.push_back(appendText(encodeCell(c)));
    m_rows.push_back(Row{first, static_cast<std::uint32_t>(cells.size())});
}

void TextTable::insertEmptyRows(int row, int count) {
    if (count <= 0)
        return;
    row = std::clamp(row, 0, rowCount());
    m_rows.insert(m_rows.begin() + row, static_cast<std::size_t>(count), Row{0, 0, 0, NoLine});
}

void TextTable::removeRows(int row, int count) {
    if (row < 0 || count <= 0 || row >= rowCount())
        return;
    count = std::min(count, rowCount() - row);
    const auto begin = m_rows.begin() + row;
    for (auto it = begin; it != begin + count; ++it) {
        m_deadCells += it->count;
        for (std::uint32_t i = 0; i < it->count; ++i)
            m_deadBytes += m_cells[it->first + i].size;
    }
    m_rows.erase(begin, begin + count);
    compactIfWasteful();
}

void TextTable::clear(int columns) {
    m_text.clear();
    m_cells.clear();
    m_rows.clear();
    m_columns = columns;
    m_deadBytes = 0;
    m_deadCells = 0;
}

void TextTable::sortRows(const std::function<bool(int, int)>& less) {
    std::vector<int> order(m_rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), less);
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int i : order)
        sorted.push_back(m_rows[static_cast<std::size_t>(i)]);
    m_rows = std::move(sorted);
}

std::size_t TextTable::memoryBytes() const {
    return static_cast<std::size_t>(m_text.capacity()) + m_cells.capacity() * sizeof(Slice) +
           m_rows.capacity() * sizeof(Row);
}

void TextTable::adoptBuffer(QByteArray buffer) {
    clear(m_columns);
    m_text = std::move(buffer);
}

void TextTable::reserve(std::size_t rows, std::size_t cells) {
    m_rows.reserve(rows);
    m_cells.reserve(cells);
}

void TextTable::appendSlicedRow(const Slice* cells, std::size_t count, std::optional<Slice> line) {
    const std::uint32_t first = static_cast<std::uint32_t>(m_cells.size());
    m_cells.insert(m_cells.end(), cells, cells + count);
    m_rows.push_back(Row{first, static_cast<std::uint32_t>(count), line ? line->start : 0,
                         line ? line->size : NoLine});
    ensureColumns(static_cast<int>(count));
}

void TextTable::compactIfWasteful() {
    // Edits and removals leave their old text behind; once that is more than what is still
    // in use the table is rebuilt, so a long-running program does not grow without end.
    constexpr std::size_t Slack = 1 << 20;
    const std::size_t liveBytes = static_cast<std::size_t>(m_text.size()) - m_deadBytes;
    const std::size_t liveCells = m_cells.size() - m_deadCells;
    if ((m_deadBytes < Slack || m_deadBytes < liveBytes) &&
        (m_deadCells < Slack || m_deadCells < liveCells))
        return;
    QByteArray text;
    text.reserve(static_cast<qsizetype>(liveBytes));
    std::vector<Slice> cells;
    cells.reserve(liveCells);
    for (Row& r : m_rows) {
        const std::uint32_t first = static_cast<std::uint32_t>(cells.size());
        for (std::uint32_t i = 0; i < r.count; ++i) {
            const Slice& s = m_cells[r.first + i];
            cells.push_back(Slice{static_cast<std::uint32_t>(text.size()), s.size});
            text.append(m_text.constData() + s.start, s.size);
        }
        r.first = first;
        r.lineSize = NoLine; // the old buffer and its lines are gone
    }
    m_text = std::move(text);
    m_cells = std::move(cells);
    m_deadBytes = 0;
    m_deadCells = 0;
}

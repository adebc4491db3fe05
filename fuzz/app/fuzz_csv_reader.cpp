// The CSV reader on any bytes: it must not fail on memory, whatever table it reads must come
// back unchanged after writing it and reading the written bytes, and lines passed on as read
// must equal a fresh encoding of their cells.

#include "app/core/csv_form.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TextTable table;
    if (!CsvForm::parse(bytes, 2, table))
        return 0;
    if (table.rowCount() == 0)
        std::abort();

    // Lines kept as read must be written exactly as a fresh encoding of their cells.
    const QByteArray written = CsvForm::toBytes(table);
    TextTable fresh(table.columnCount());
    for (int r = 0; r < table.rowCount(); ++r)
        fresh.appendRow(table.rowTexts(r));
    if (CsvForm::toBytes(fresh) != written)
        std::abort();

    TextTable back;
    if (!CsvForm::parse(written, 2, back))
        std::abort();
    if (back.rowCount() != table.rowCount() || back.columnCount() != table.columnCount())
        std::abort();
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            if (back.cellBytes(r, c) != table.cellBytes(r, c))
                std::abort();
        }
    }
    // Edits go through the same storage.
    table.setCell(0, 0, table.cell(table.rowCount() - 1, table.columnCount() - 1));
    table.removeRows(0, 1);
    return 0;
}

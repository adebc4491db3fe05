#pragma once

// The model behind the log grid DGrid: a header row (the first line of log2.csv) and one row
// per logged call, oldest first, in the columns "In/Out", "Inkomend", "Tijd", "Nummer", "Naam".
// Read-only for the view; rows are appended by the call sources and removed by "Wis Log...".

#include "app/core/text_table.h"

#include <QAbstractTableModel>
#include <QStringList>

struct LogRow;

class CallLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColDirection = 0, ColLine = 1, ColTime = 2, ColNumber = 3, ColName = 4 };
    static constexpr int BaseColumnCount = 5;
    static const QStringList& defaultHeaders();

    explicit CallLogModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QString cell(int row, int column) const;
    QString headerText(int column) const;

    // Appends a row and returns its index.
    int appendRow(const QStringList& cells);
    int appendRow(const LogRow& row);
    // Sets one cell of an existing row (the name column after the phonebook lookup).
    void setCell(int row, int column, const QString& text);

    // "Wis Log...": removes the rows from the first one down to and including lastRow.
    void deleteThrough(int lastRow);

    // The "Nummer" cell of the last row, or the header's "Nummer" text when there is no row.
    QString lastNumber() const;

    // Back to the header row only.
    void reset();

    // Reads a log file: its first line becomes the header row. On failure (missing, empty or
    // unreadable file) returns false and the model keeps what it held.
    bool load(const QString& path, QString* error = nullptr);
    // Writes the header row and all rows atomically.
    bool save(const QString& path, QString* error = nullptr) const;

    const TextTable& table() const { return m_table; }

private:
    TextTable m_table; // row 0 is the header row
};

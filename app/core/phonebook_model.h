#pragma once

// The model behind the phonebook grid PGrid: number and name per row, no header row, 10 empty
// rows before any file is loaded, edited in place. Lines with more fields widen the table and
// their extra fields are written back unchanged.

#include "app/core/text_table.h"

#include <QAbstractTableModel>

#include <optional>

class PhonebookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColNumber = 0, ColName = 1 };
    static constexpr int BaseColumnCount = 2;
    static constexpr int InitialRowCount = 10;

    explicit PhonebookModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);

    enum class Sorting { None, ByNumber };
    // Reads the file, one row per line, replacing the rows; then sorts by number when asked and
    // there is more than one row. On failure returns false (message in *error, "File is empty"
    // for an empty file) and the rows stay as they were.
    bool load(const QString& path, Sorting sorting, QString* error = nullptr);
    // Writes every row and column atomically; an empty path fails.
    bool save(const QString& path, QString* error = nullptr) const;

    // Ascending by column 0: numbers by numeric value before other texts by character codes.
    void sortByNumber();
    // Appends an empty row and puts number into its column 0; returns the row ("Toevoegen").
    int appendEntry(const QString& number);

    // The name of the first row whose number, with leading and trailing blanks and control
    // characters removed, equals the number trimmed the same way; nullopt when none matches.
    std::optional<QString> LookupName(const QString& number) const;

    // The sort order of two number cells: negative, zero or positive.
    static int compareNumbers(QByteArrayView a, QByteArrayView b);

private:
    TextTable m_table;
};

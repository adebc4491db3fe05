#include "app/core/call_log_model.h"

#include "app/core/call_tracker.h"
#include "app/core/csv_form.h"

const QStringList& CallLogModel::defaultHeaders() {
    static const QStringList headers{QStringLiteral("In/Out"), QStringLiteral("Inkomend"),
                                     QStringLiteral("Tijd"), QStringLiteral("Nummer"),
                                     QStringLiteral("Naam")};
    return headers;
}

CallLogModel::CallLogModel(QObject* parent) : QAbstractTableModel(parent) {
    m_table.clear(BaseColumnCount);
    m_table.appendRow(defaultHeaders());
}

int CallLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.rowCount() - 1;
}

int CallLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.columnCount();
}

QVariant CallLogModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_table.cell(index.row() + 1, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == ColDirection || index.column() == ColTime)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant CallLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount() &&
        (role == Qt::DisplayRole || role == Qt::EditRole))
        return headerText(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags CallLogModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QString CallLogModel::cell(int row, int column) const {
    return m_table.cell(row + 1, column);
}

QString CallLogModel::headerText(int column) const {
    return m_table.cell(0, column);
}

int CallLogModel::appendRow(const QStringList& cells) {
    const int row = rowCount();
    const bool widens = cells.size() > m_table.columnCount();
    if (widens) {
        beginInsertColumns({}, m_table.columnCount(), static_cast<int>(cells.size()) - 1);
        m_table.ensureColumns(static_cast<int>(cells.size()));
        endInsertColumns();
    }
    beginInsertRows({}, row, row);
    m_table.appendRow(cells);
    endInsertRows();
    return row;
}

int CallLogModel::appendRow(const LogRow& row) {
    return appendRow(row.cells());
}

void CallLogModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0)
        return;
    if (column >= columnCount()) {
        beginInsertColumns({}, columnCount(), column);
        m_table.ensureColumns(column + 1);
        endInsertColumns();
    }
    m_table.setCell(row + 1, column, text);
    const QModelIndex at = index(row, column);
    Q_EMIT dataChanged(at, at);
}

void CallLogModel::deleteThrough(int lastRow) {
    if (rowCount() == 0 || lastRow < 0)
        return;
    lastRow = std::min(lastRow, rowCount() - 1);
    beginRemoveRows({}, 0, lastRow);
    m_table.removeRows(1, lastRow + 1);
    endRemoveRows();
}

QString CallLogModel::lastNumber() const {
    return m_table.cell(m_table.rowCount() - 1, ColNumber);
}

void CallLogModel::reset() {
    beginResetModel();
    m_table.clear(BaseColumnCount);
    m_table.appendRow(defaultHeaders());
    endResetModel();
}

bool CallLogModel::load(const QString& path, QString* error) {
    TextTable loaded;
    if (!CsvForm::read(path, BaseColumnCount, loaded, error))
        return false;
    beginResetModel();
    m_table = std::move(loaded);
    endResetModel();
    return true;
}

bool CallLogModel::save(const QString& path, QString* error) const {
    return CsvForm::write(path, m_table, error);
}

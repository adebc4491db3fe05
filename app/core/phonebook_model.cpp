#include "app/core/phonebook_model.h"

#include "app/core/csv_form.h"
#include "app/core/handig.h"

#include <algorithm>
#include <cstring>

namespace {

QByteArrayView trimmedBytes(QByteArrayView b) {
    qsizetype begin = 0;
    qsizetype end = b.size();
    while (begin < end && static_cast<unsigned char>(b[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(b[end - 1]) <= 0x20)
        --end;
    return b.sliced(begin, end - begin);
}

// A decimal number: optional sign, digits, optional "." with digits. Compared exactly, so long
// phone numbers do not collapse into one floating-point value.
struct Decimal {
    bool negative = false;
    QByteArrayView whole;    // without leading zeros
    QByteArrayView fraction; // without trailing zeros
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<Decimal> asDecimal(QByteArrayView text) {
    QByteArrayView t = trimmedBytes(text);
    Decimal d;
    if (!t.isEmpty() && (t.front() == '-' || t.front() == '+')) {
        d.negative = t.front() == '-';
        t = t.sliced(1);
    }
    const qsizetype dot = t.indexOf('.');
    QByteArrayView whole = dot < 0 ? t : t.first(dot);
    QByteArrayView fraction = dot < 0 ? QByteArrayView() : t.sliced(dot + 1);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    if (dot >= 0 && fraction.isEmpty())
        return std::nullopt;
    for (char c : whole) {
        if (!isDigit(c))
            return std::nullopt;
    }
    for (char c : fraction) {
        if (!isDigit(c))
            return std::nullopt;
    }
    while (!whole.isEmpty() && whole.front() == '0')
        whole = whole.sliced(1);
    while (!fraction.isEmpty() && fraction.back() == '0')
        fraction.chop(1);
    d.whole = whole;
    d.fraction = fraction;
    if (whole.isEmpty() && fraction.isEmpty())
        d.negative = false; // -0 equals 0
    return d;
}

int compareBytes(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = std::min(a.size(), b.size());
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), static_cast<std::size_t>(n));
    if (c != 0)
        return c < 0 ? -1 : 1;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int compareMagnitude(const Decimal& a, const Decimal& b) {
    if (a.whole.size() != b.whole.size())
        return a.whole.size() < b.whole.size() ? -1 : 1;
    if (const int c = compareBytes(a.whole, b.whole))
        return c;
    return compareBytes(a.fraction, b.fraction);
}

} // namespace

PhonebookModel::PhonebookModel(QObject* parent) : QAbstractTableModel(parent) {
    m_table.clear(BaseColumnCount);
    m_table.insertEmptyRows(0, InitialRowCount);
}

int PhonebookModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.rowCount();
}

int PhonebookModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.columnCount();
}

QVariant PhonebookModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_table.cell(index.row(), index.column());
    return {};
}

QVariant PhonebookModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        if (section == ColNumber)
            return QStringLiteral("Nummer");
        if (section == ColName)
            return QStringLiteral("Naam");
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags PhonebookModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

bool PhonebookModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    m_table.setCell(index.row(), index.column(), value.toString());
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool PhonebookModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > rowCount() || count <= 0)
        return false;
    beginInsertRows({}, row, row + count - 1);
    m_table.insertEmptyRows(row, count);
    endInsertRows();
    return true;
}

bool PhonebookModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_table.removeRows(row, count);
    endRemoveRows();
    return true;
}

QString PhonebookModel::cell(int row, int column) const {
    return m_table.cell(row, column);
}

void PhonebookModel::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0)
        return;
    if (column >= columnCount()) {
        beginInsertColumns({}, columnCount(), column);
        m_table.ensureColumns(column + 1);
        endInsertColumns();
    }
    m_table.setCell(row, column, text);
    const QModelIndex at = index(row, column);
    Q_EMIT dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
}

bool PhonebookModel::load(const QString& path, Sorting sorting, QString* error) {
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("No file name");
        return false;
    }
    TextTable loaded;
    // The grid keeps its width: columns it had stay, wider files widen it.
    if (!CsvForm::read(path, m_table.columnCount(), loaded, error))
        return false;
    beginResetModel();
    m_table = std::move(loaded);
    if (sorting == Sorting::ByNumber && m_table.rowCount() > 1)
        m_table.sortRows([this](int a, int b) {
            return compareNumbers(m_table.cellBytes(a, ColNumber),
                                  m_table.cellBytes(b, ColNumber)) < 0;
        });
    endResetModel();
    return true;
}

bool PhonebookModel::save(const QString& path, QString* error) const {
    return CsvForm::write(path, m_table, error);
}

void PhonebookModel::sortByNumber() {
    if (m_table.rowCount() < 2)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> order(static_cast<std::size_t>(m_table.rowCount()));
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return compareNumbers(m_table.cellBytes(a, ColNumber), m_table.cellBytes(b, ColNumber)) < 0;
    });
    std::vector<int> newRowOf(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        newRowOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    m_table.sortRows([this](int a, int b) {
        return compareNumbers(m_table.cellBytes(a, ColNumber), m_table.cellBytes(b, ColNumber)) < 0;
    });
    QModelIndexList after;
    for (const QModelIndex& i : before)
        after.append(index(newRowOf[static_cast<std::size_t>(i.row())], i.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int PhonebookModel::appendEntry(const QString& number) {
    const int row = rowCount();
    insertRows(row, 1);
    setCell(row, ColNumber, number);
    return row;
}

std::optional<QString> PhonebookModel::LookupName(const QString& number) const {
    const QByteArray wanted = TextTable::encodeCell(TrimBlanksView(number));
    for (int r = 0; r < m_table.rowCount(); ++r) {
        if (trimmedBytes(m_table.cellBytes(r, ColNumber)) == QByteArrayView(wanted))
            return m_table.cell(r, ColName);
    }
    return std::nullopt;
}

int PhonebookModel::compareNumbers(QByteArrayView a, QByteArrayView b) {
    const auto da = asDecimal(a);
    const auto db = asDecimal(b);
    if (da && db) {
        if (da->negative != db->negative)
            return da->negative ? -1 : 1;
        const int c = compareMagnitude(*da, *db);
        return da->negative ? -c : c;
    }
    if (da || db)
        return da ? -1 : 1; // numbers before other texts
    // Plain texts by their character codes.
    return compareBytes(a, b);
}

#include "app/window/aligned_columns_delegate.h"

AlignedColumnsDelegate::AlignedColumnsDelegate(QList<int> centredColumns, QObject* parent)
    : QStyledItemDelegate(parent), m_centred(std::move(centredColumns)) {}

void AlignedColumnsDelegate::initStyleOption(QStyleOptionViewItem* option,
                                             const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const Qt::Alignment vertical = Qt::AlignVCenter;
    option->displayAlignment =
        (m_centred.contains(index.column()) ? Qt::AlignHCenter : Qt::AlignLeft) | vertical;
}

#pragma once

// Draws the cells of the given columns centred, the others as the view does.

#include <QStyledItemDelegate>

#include <QList>

class AlignedColumnsDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    AlignedColumnsDelegate(QList<int> centredColumns, QObject* parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QList<int> m_centred;
};

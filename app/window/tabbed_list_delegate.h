#pragma once

// Draws tab-separated list lines in columns whose widths follow the widest field seen so far in
// each column, so the poll trace lines up whatever the values are.

#include <QStyledItemDelegate>

#include <vector>

class TabbedListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int ColumnGap = 12;

    using QStyledItemDelegate::QStyledItemDelegate;

    // Widens the columns for a line about to be shown; true when a column grew.
    bool fit(const QString& line, const QFontMetrics& metrics);
    const std::vector<int>& tabStops() const { return m_widths; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::vector<int> m_widths;
};

#include "app/window/tabbed_list_delegate.h"

#include <QApplication>
#include <QPainter>

bool TabbedListDelegate::fit(const QString& line, const QFontMetrics& metrics) {
    bool grew = false;
    const QStringList fields = line.split(u'\t');
    if (m_widths.size() < static_cast<std::size_t>(fields.size()))
        m_widths.resize(static_cast<std::size_t>(fields.size()), 0);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const int width = metrics.horizontalAdvance(fields.at(i)) + ColumnGap;
        int& stop = m_widths.at(static_cast<std::size_t>(i));
        if (width > stop) {
            stop = width;
            grew = true;
        }
    }
    return grew;
}

void TabbedListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    const QRect area = opt.rect.adjusted(2, 0, -2, 0);
    int x = area.left();
    const QStringList fields = text.split(u'\t');
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int width = at < m_widths.size()
                              ? m_widths[at]
                              : opt.fontMetrics.horizontalAdvance(fields.at(i)) + ColumnGap;
        painter->drawText(QRect(x, area.top(), width, area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fields.at(i));
        x += width;
    }
    painter->restore();
}

QSize TabbedListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    int width = 4;
    for (int w : m_widths)
        width += w;
    size.setWidth(std::max(size.width(), width));
    return size;
}

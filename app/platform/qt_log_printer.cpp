#include "app/platform/qt_log_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

bool QtLogPrinter::print(const QStringList& lines, const QString& title) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setCreator(QStringLiteral("VORBEL"));
    if (!pdfFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile_);
    } else if (!printer.isValid()) {
        return false;
    }

    QTextDocument document;
    document.setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    document.setPlainText(lines.join(u'\n'));

    // Paginate by hand so that a failure to open the device or to start a page is seen.
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    document.documentLayout()->setPaintDevice(&printer);
    const QRectF pageRect = printer.pageRect(QPrinter::DevicePixel);
    document.setPageSize(pageRect.size());
    const int pages = document.pageCount();
    const qreal pageHeight = pageRect.height();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        painter.save();
        painter.translate(0, -page * pageHeight);
        document.drawContents(&painter, QRectF(0, page * pageHeight, pageRect.width(), pageHeight));
        painter.restore();
    }
    return painter.end();
}

#pragma once

// Prints the diagnostic log as plain text with Qt's printing support. Installed into the
// telephony layer at start-up (InstallLogPrinter); the log's Print goes through it.

#include <utility>

#include <QString>
#include <QStringList>

#include "telephony/diagnostics/log_printer.h"

class QtLogPrinter : public TetLogPrinter {
public:
    // Prints to the default printer.
    QtLogPrinter() = default;
    // Prints into a PDF file instead, for previews and for machines without a printer.
    explicit QtLogPrinter(QString pdfFile) : pdfFile_(std::move(pdfFile)) {}

    // One text line per line, in a fixed-pitch font, over as many pages as needed. False when the
    // printer or the file cannot be opened or a page cannot be started.
    bool print(const QStringList& lines, const QString& title) override;

    const QString& pdfFile() const { return pdfFile_; }

private:
    QString pdfFile_;
};

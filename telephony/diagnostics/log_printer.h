#pragma once

// How the diagnostic log reaches a printer. The telephony layers stay free of the window toolkit,
// so the application installs an implementation (app/platform has one on Qt's printing support).
// With none installed TetLog::Print yields False and leaves the log unchanged.

#include <memory>

#include <QString>
#include <QStringList>

class TetLogPrinter {
public:
    virtual ~TetLogPrinter() = default;
    // Prints lines as plain text, one per text line; title names the job. True on success.
    virtual bool print(const QStringList& lines, const QString& title) = 0;
};

// Installs the printer used by every log from now on; returns the one it replaces. Main thread.
std::unique_ptr<TetLogPrinter> InstallLogPrinter(std::unique_ptr<TetLogPrinter> printer);
// Removes the installed printer and returns it (nullptr when none was installed).
std::unique_ptr<TetLogPrinter> UninstallLogPrinter();
// The installed printer, or nullptr.
TetLogPrinter* InstalledLogPrinter();

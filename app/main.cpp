// Program entry: one window, run until it closes, then destroy it so that it writes the
// settings, the call log and the phonebook.

#include "app/platform/line_dialogs.h"
#include "app/platform/qt_log_printer.h"
#include "app/window/main_window.h"
#include "app/window/termination_signals.h"
#include "telephony/diagnostics/log_printer.h"
#include "telephony/tapi/dialog_presenter.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VORBEL"));

    // SIGTERM and SIGINT end the program the normal way: closing, then destruction. Installed
    // first, so a signal during start-up waits for the event loop instead of killing the program.
    std::unique_ptr<TForm1> form;
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app, [&form] {
        if (form)
            form->close();
        // Also ends a modal dialog or a waiting poll that may be open at that moment.
        QCoreApplication::quit();
    });

    // What the telephony layers ask of the window toolkit: printing a diagnostic log and the
    // line device and dialling location dialogs.
    InstallLogPrinter(std::make_unique<QtLogPrinter>());
    QtLineDialogPresenter dialogPresenter;
    tapi::setDialogPresenter(&dialogPresenter);

    form = std::make_unique<TForm1>();
    form->show();
    const int result = QApplication::exec();
    form.reset();
    tapi::setDialogPresenter(nullptr);
    UninstallLogPrinter();
    return result;
}

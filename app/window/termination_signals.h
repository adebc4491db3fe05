#pragma once

// Turns SIGTERM and SIGINT (logout, shutdown, Ctrl+C) into a Qt signal on the event loop, so the
// program can end the normal way: close the window, then destroy it, which writes the settings,
// the log and the phonebook. The signal handler only writes one byte into a socket pair, which
// is all that is safe to do inside it.

#include <QObject>

#include <memory>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers for SIGTERM and SIGINT; only one instance may exist at a time.
    explicit TerminationSignals(QObject* parent = nullptr);
    // Restores the previous handlers.
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool isInstalled() const { return m_installed; }

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readPending();

    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_installed = false;
};

#pragma once

// Saves the call log a short while after each change (a new row, "Wis Log..."), several changes
// in that while giving one save, so that a crash or power cut loses at most a few seconds of
// calls. Each save is atomic.

#include <QObject>
#include <QString>
#include <QTimer>

class CallLogModel;

class LogAutosave : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultDelayMs = 1500;

    // Watches model; path is the log file (its folder is created before each save).
    LogAutosave(CallLogModel* model, QString path, QObject* parent = nullptr,
                int delayMs = DefaultDelayMs);

    bool isPending() const { return m_pending; }
    // Saves now when a change is waiting; true when nothing waits or the save succeeded.
    bool flush();

Q_SIGNALS:
    void saved();
    void saveFailed(const QString& message);

public Q_SLOTS:
    // Notes a change; the save follows after the delay.
    void markChanged();

private:
    bool saveNow();

    CallLogModel* m_model;
    QString m_path;
    QTimer m_timer;
    bool m_pending = false;
};

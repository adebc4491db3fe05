#include "app/core/log_autosave.h"

#include "app/core/call_log_model.h"

#include <QDir>
#include <QFileInfo>

LogAutosave::LogAutosave(CallLogModel* model, QString path, QObject* parent, int delayMs)
    : QObject(parent), m_model(model), m_path(std::move(path)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { saveNow(); });
    connect(model, &QAbstractItemModel::rowsInserted, this, &LogAutosave::markChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &LogAutosave::markChanged);
    connect(model, &QAbstractItemModel::dataChanged, this, &LogAutosave::markChanged);
    connect(model, &QObject::destroyed, this, [this] {
        m_model = nullptr;
        m_timer.stop();
    });
}

void LogAutosave::markChanged() {
    m_pending = true;
    // The first change of a burst starts the wait; later ones ride along with it.
    if (!m_timer.isActive())
        m_timer.start();
}

bool LogAutosave::flush() {
    m_timer.stop();
    if (!m_pending)
        return true;
    return saveNow();
}

bool LogAutosave::saveNow() {
    if (!m_model)
        return false;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QString error;
    if (!m_model->save(m_path, &error)) {
        // Still pending: the next change or flush() tries again.
        Q_EMIT saveFailed(error);
        return false;
    }
    m_pending = false;
    Q_EMIT saved();
    return true;
}

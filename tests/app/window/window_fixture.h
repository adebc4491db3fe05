#pragma once

// A main window on a fresh data folder: VORBEL_DATA_DIR points into a temporary folder, the
// dialogs are answered by the test, and widgets are found by their objectName.

#include "scripted_dialogs.h"

#include "app/window/main_window.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class WindowFixture {
public:
    WindowFixture() { qputenv("VORBEL_DATA_DIR", dataDir.path().toLocal8Bit()); }
    ~WindowFixture() { form.reset(); }

    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    QString dataPath(const QString& name) const { return dataDir.filePath(name); }

    // Writes config.cfg before the window is created.
    void writeSettings(const QByteArray& keys) {
        QFile file(dataPath(QStringLiteral("config.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\r\n" + keys);
    }
    void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

    TForm1* create(const QStringList& args = {}) {
        form = std::make_unique<TForm1>(dialogs, args);
        return form.get();
    }
    TForm1* createShown(const QStringList& args = {}) {
        create(args);
        form->show();
        return form.get();
    }
    // Destroys the window, which writes its files.
    void destroy() { form.reset(); }

    template <typename T> T* find(const char* name) const {
        return form->findChild<T*>(QString::fromLatin1(name));
    }

    QTemporaryDir dataDir;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::unique_ptr<TForm1> form;
};

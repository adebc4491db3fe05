#pragma once

// Shared by the TAPI source tests: the simulator scenarios of this folder, message boxes recorded
// with their titles, and a window whose caller-ID rows are captured with the status pane text
// they showed.

#include "tests/support/simulator_scenario.h"

#include "window_fixture.h"

#include "app/window/dialog_service.h"
#include "app/window/main_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QList>
#include <QStringList>

namespace tapitest {

inline QString ScenarioPath(const QString& name) {
    return simtest::ScenarioPath(QStringLiteral("tests/app/window/scenarios"), name);
}

inline void UseScenario(const QString& name) {
    simtest::UseScenario(QStringLiteral("tests/app/window/scenarios"), name);
}

inline void Settle(int milliseconds) {
    simtest::Settle(milliseconds);
}

// Device positions in tapi_office.json.
inline constexpr int CallerIdModem = 0;
inline constexpr int DataModem = 1;
inline constexpr int PbxLine = 2;
inline constexpr int OldLine = 3;
inline constexpr int SecondPbxLine = 4;

struct Box {
    QString kind; // "information", "error" or "question"
    QString title;
    QString text;
    friend bool operator==(const Box&, const Box&) = default;
};

// Every box is recorded and answered at once (questions with No), so nothing blocks.
class RecordingDialogs final : public DialogService {
public:
    QList<Box> boxes;

    bool question(QWidget*, const QString& title, const QString& text) override {
        boxes.append({QStringLiteral("question"), title, text});
        return false;
    }
    void information(QWidget*, const QString& title, const QString& text) override {
        boxes.append({QStringLiteral("information"), title, text});
    }
    void error(QWidget*, const QString& title, const QString& text) override {
        boxes.append({QStringLiteral("error"), title, text});
    }
    QString getOpenFileName(QWidget*, const QString&, const QString&, const QString&,
                            const QString&) override {
        return {};
    }
};

// A window on a fresh data folder whose message boxes are recorded.
class TapiWindow {
public:
    TapiWindow() = default;
    TapiWindow(const TapiWindow&) = delete;
    TapiWindow& operator=(const TapiWindow&) = delete;
    ~TapiWindow() { fixture.form.reset(); }

    void writeSettings(const QByteArray& keys) { fixture.writeSettings(keys); }
    QString phonebookWith(const QByteArray& lines) {
        const QString path = fixture.dataPath(QStringLiteral("telefoon.csv"));
        fixture.writeFile(path, lines);
        return path;
    }
    TForm1* create() {
        fixture.form = std::make_unique<TForm1>(dialogs, QStringList{});
        QObject::connect(fixture.form.get(), &TForm1::logRowAdded,
                         [this](int) { paneAtRow << pane(); });
        return fixture.form.get();
    }
    TForm1* form() const { return fixture.form.get(); }
    QString pane() const { return fixture.find<QLabel>("RzStatusPane1")->text(); }
    template <typename T> T* find(const char* name) const { return fixture.find<T>(name); }

    WindowFixture fixture;
    std::shared_ptr<RecordingDialogs> dialogs = std::make_shared<RecordingDialogs>();
    QStringList paneAtRow; // RzStatusPane1 at each new log row
};

} // namespace tapitest

namespace QTest {
template <> inline char* toString(const tapitest::Box& box) {
    return qstrdup(
        qPrintable(box.kind + QLatin1String(" | ") + box.title + QLatin1String(" | ") + box.text));
}
} // namespace QTest

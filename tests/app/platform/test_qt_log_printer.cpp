#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/platform/qt_log_printer.h"
#include "telephony/diagnostics/shared_control.h"

namespace {

// The page count of the PDF's page tree.
int pdfPageCount(const QByteArray& pdf) {
    const QRegularExpression pages(QStringLiteral("/Type\\s*/Pages.*?/Count\\s+(\\d+)"),
                                   QRegularExpression::DotMatchesEverythingOption);
    const auto match = pages.match(QString::fromLatin1(pdf));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class TestQtLogPrinter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { UninstallLogPrinter(); }
    void printsTheLogIntoAPdf();
    void longLogRunsOverSeveralPages();
    void unwritableFileFailsAndLeavesTheLogAlone();
};

void TestQtLogPrinter::printsTheLogIntoAPdf() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log.pdf"));
    InstallLogPrinter(std::make_unique<QtLogPrinter>(path));

    TetSharedControl control;
    control.SetComponentKind(TetSharedControl::KindLine);
    control.ReportError(-3);
    QVERIFY(control.Vigil()->Log()->Print());

    const QByteArray pdf = readAll(path);
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.size() > 500);
    QCOMPARE(pdfPageCount(pdf), 1);
}

void TestQtLogPrinter::longLogRunsOverSeveralPages() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.pdf"));
    InstallLogPrinter(std::make_unique<QtLogPrinter>(path));

    TetSharedControl control;
    control.SetComponentKind(TetSharedControl::KindLine);
    control.Vigil()->Log()->setCount(400);
    for (int i = 0; i < 300; ++i)
        control.LogStamped(QStringLiteral("Call.Handle = [%1]").arg(i, 8, 10, QLatin1Char('0')));
    QVERIFY(control.Vigil()->Log()->Print());
    QVERIFY(pdfPageCount(readAll(path)) >= 3);
}

void TestQtLogPrinter::unwritableFileFailsAndLeavesTheLogAlone() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/folder/log.pdf"));
    InstallLogPrinter(std::make_unique<QtLogPrinter>(path));

    TetSharedControl control;
    control.SetComponentKind(TetSharedControl::KindLine);
    const QStringList before = control.Vigil()->Log()->Lines();
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY(!control.Vigil()->Log()->Print());
    QCOMPARE(control.Vigil()->Log()->Lines(), before);
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestQtLogPrinter)
#include "test_qt_log_printer.moc"

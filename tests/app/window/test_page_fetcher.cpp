// The page fetcher against a real HTTP server on 127.0.0.1: pages, error statuses, a refused
// connection, a phone that never answers, an oversized page, and events running while it waits.

#include "fake_phone.h"

#include "app/window/page_fetcher.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

class TestPageFetcher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void servesChangingPagesWithAcceptHeader();
    void errorStatuses_data();
    void errorStatuses();
    void refusedConnectionFails();
    void stalledPhoneTimesOut();
    void oversizedPageFails_data();
    void oversizedPageFails();
    void eventsRunWhileWaiting();
    void abortEndsWaitingRequest();
    void decodeBody_data();
    void decodeBody();
};

namespace {
QUrl pageUrl(const FakePhone& phone) {
    return QUrl(QStringLiteral("http://") + phone.address() + QStringLiteral("/admin/spacfg.xml"));
}
} // namespace

void TestPageFetcher::servesChangingPagesWithAcceptHeader() {
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setPages({"first", "second"});
    PageFetcher fetcher;
    const PageFetcher::Result one = fetcher.get(pageUrl(phone));
    QVERIFY2(one.ok, qPrintable(one.error));
    QCOMPARE(one.page, QStringLiteral("first"));
    QVERIFY(phone.lastRequest().startsWith("GET /admin/spacfg.xml HTTP/1.1\r\n"));
    QVERIFY(phone.lastRequest().contains("\r\nAccept: text/html, */*\r\n"));
    const PageFetcher::Result two = fetcher.get(pageUrl(phone));
    QCOMPARE(two.page, QStringLiteral("second"));
    QVERIFY(!fetcher.isBusy());
}

void TestPageFetcher::errorStatuses_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reason");
    QTest::addColumn<QString>("message");
    QTest::newRow("404") << 404 << QByteArray("Not Found") << "HTTP/1.1 404 Not Found";
    QTest::newRow("500") << 500 << QByteArray("Internal Server Error")
                         << "HTTP/1.1 500 Internal Server Error";
    QTest::newRow("401") << 401 << QByteArray("Unauthorized") << "HTTP/1.1 401 Unauthorized";
}

void TestPageFetcher::errorStatuses() {
    QFETCH(int, status);
    QFETCH(QByteArray, reason);
    QFETCH(QString, message);
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setStatus(status, reason);
    PageFetcher fetcher;
    const PageFetcher::Result result = fetcher.get(pageUrl(phone));
    QVERIFY(!result.ok);
    QCOMPARE(result.error, message);
    QVERIFY(result.page.isEmpty());
}

void TestPageFetcher::refusedConnectionFails() {
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    } // closed: nothing listens there now
    PageFetcher fetcher;
    const PageFetcher::Result result =
        fetcher.get(QUrl(QStringLiteral("http://127.0.0.1:%1/admin/spacfg.xml").arg(port)));
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QStringLiteral("refused"), Qt::CaseInsensitive),
             qPrintable(result.error));
}

void TestPageFetcher::stalledPhoneTimesOut() {
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setMode(FakePhone::Mode::Stall);
    PageFetcher fetcher;
    QCOMPARE(fetcher.timeoutMs(), 30'000);
    fetcher.setTimeoutMs(300);
    const PageFetcher::Result result = fetcher.get(pageUrl(phone));
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QStringLiteral("Read timed out after 300 ms"));
    QCOMPARE(phone.requestCount(), 1);
    QVERIFY(!fetcher.isBusy());
}

void TestPageFetcher::oversizedPageFails_data() {
    QTest::addColumn<int>("pageBytes");
    QTest::addColumn<bool>("ok");
    QTest::newRow("at the limit") << 1000 << true;
    QTest::newRow("one byte over") << 1001 << false;
    QTest::newRow("far over") << 200'000 << false;
}

void TestPageFetcher::oversizedPageFails() {
    QFETCH(int, pageBytes);
    QFETCH(bool, ok);
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setPages({QByteArray(pageBytes, 'x')});
    PageFetcher fetcher;
    QCOMPARE(fetcher.maxPageBytes(), qint64(16) * 1024 * 1024);
    fetcher.setMaxPageBytes(1000);
    const PageFetcher::Result result = fetcher.get(pageUrl(phone));
    QCOMPARE(result.ok, ok);
    if (ok)
        QCOMPARE(result.page.size(), pageBytes);
    else
        QCOMPARE(result.error, QStringLiteral("Page larger than 1000 bytes"));
}

void TestPageFetcher::eventsRunWhileWaiting() {
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setMode(FakePhone::Mode::Stall);
    PageFetcher fetcher;
    fetcher.setTimeoutMs(1000);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    const PageFetcher::Result result = fetcher.get(pageUrl(phone));
    QVERIFY(!result.ok);
    QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
}

void TestPageFetcher::abortEndsWaitingRequest() {
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setMode(FakePhone::Mode::Stall);
    PageFetcher fetcher;
    fetcher.setTimeoutMs(20'000);
    // Once the phone has the request, abandon it from inside the wait.
    QTimer::singleShot(100, &fetcher, [&] {
        QVERIFY(fetcher.isBusy());
        fetcher.abort();
    });
    QElapsedTimer clock;
    clock.start();
    const PageFetcher::Result result = fetcher.get(pageUrl(phone));
    QVERIFY(!result.ok);
    QCOMPARE(result.error, QStringLiteral("Request cancelled"));
    QVERIFY(clock.elapsed() < 10'000);
    // The fetcher is usable again afterwards.
    phone.setMode(FakePhone::Mode::Serve);
    phone.setPages({"again"});
    QCOMPARE(fetcher.get(pageUrl(phone)).page, QStringLiteral("again"));
}

void TestPageFetcher::decodeBody_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("text");
    QTest::newRow("no charset: one character per byte")
        << QByteArray("Jos\xe9 \x80") << QByteArray("text/xml") << QStringLiteral("José €");
    QTest::newRow("utf-8 declared")
        << QByteArray("Jos\xc3\xa9") << QByteArray("text/xml; charset=UTF-8")
        << QStringLiteral("José");
    QTest::newRow("quoted utf-8") << QByteArray("Jos\xc3\xa9")
                                  << QByteArray("text/xml; charset=\"utf-8\"; x=y")
                                  << QStringLiteral("José");
    QTest::newRow("latin-1 declared")
        << QByteArray("Jos\xe9") << QByteArray("text/xml; charset=iso-8859-1")
        << QStringLiteral("José");
}

void TestPageFetcher::decodeBody() {
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, text);
    QCOMPARE(PageFetcher::decodeBody(body, contentType), text);
}

QTEST_MAIN(TestPageFetcher)
#include "test_page_fetcher.moc"

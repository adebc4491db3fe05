// WaitForReply: events keep running while an operation waits for its LINE_REPLY, up to
// TAPI.ReplyTimeout; 0 means the operation does not wait at all.

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "line_test_support.h"
#include "telephony/line/line_settings.h"

class TestLineWait : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replyMarkEndsTheWait() {
        TetLine line;
        line.TAPI()->setReplyTimeout(5000);
        int32_t slot = 17;
        // Stands for the dispatch marking the slot when LINE_REPLY arrives.
        QTimer::singleShot(30, [&slot] { slot = -1; });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(line.WaitForReply(slot), false);
        QVERIFY(clock.elapsed() >= 25);
        QVERIFY(clock.elapsed() < 4000);
    }

    void missingReplyTimesOut() {
        TetLine line;
        line.TAPI()->setReplyTimeout(120);
        int32_t slot = 17;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(line.WaitForReply(slot), true);
        QVERIFY(clock.elapsed() >= 120);
        QVERIFY(clock.elapsed() < 2000);
        QCOMPARE(slot, 17);
    }

    void zeroTimeoutDoesNotWait() {
        TetLine line;
        line.TAPI()->setReplyTimeout(0);
        int32_t slot = 17;
        bool ran = false;
        QTimer::singleShot(0, [&ran] { ran = true; });
        QCOMPARE(line.WaitForReply(slot), false);
        QVERIFY(!ran); // nothing was processed: the operation judges by Error alone
    }

    void alreadyMarkedReturnsAtOnce() {
        TetLine line;
        int32_t slot = -1;
        QCOMPARE(line.WaitForReply(slot), false);
    }
};

QTEST_GUILESS_MAIN(TestLineWait)
#include "test_line_wait.moc"

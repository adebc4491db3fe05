// The growing buffer for TAPI structures: zero-filled start, doubling on a too-small answer,
// and the 1 MiB cap that turns an endless demand into LINEERR_NOMEM.

#include <QTest>

#include <vector>

#include "telephony/line/tapi_buffer.h"

namespace {
// Writes dwNeededSize as a provider does and answers like one.
struct Provider {
    uint32_t needed = 0;
    LONG answerWhenSmall = 0; // 0: success with dwNeededSize set; else this error
    std::vector<std::size_t> seenSizes;
    bool sawDirtyByte = false;

    LONG operator()(std::byte* data) {
        uint32_t total = 0;
        std::memcpy(&total, data, 4);
        seenSizes.push_back(total);
        for (std::size_t i = 4; i < total; ++i)
            sawDirtyByte |= data[i] != std::byte{0};
        std::memcpy(data + 4, &needed, 4);
        if (needed > total && answerWhenSmall != 0)
            return answerWhenSmall;
        return 0;
    }
};
} // namespace

class TestTapiBuffer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void growsUntilTheStructureFits_data() {
        QTest::addColumn<uint32_t>("needed");
        QTest::addColumn<LONG>("answer");
        QTest::addColumn<int>("requests");
        QTest::addColumn<std::size_t>("finalSize");
        QTest::newRow("fits at once") << 300u << LONG{0} << 1 << std::size_t{252 + 4096};
        QTest::newRow("needed size above total")
            << 5000u << LONG{0} << 2 << std::size_t{252 + 8192};
        QTest::newRow("too small answered")
            << 20000u << LINEERR_STRUCTURETOOSMALL << 4 << std::size_t{252 + 32768};
        QTest::newRow("just under the cap")
            << uint32_t(252 + (1u << 20)) << LONG{0} << 9 << std::size_t{252 + (1u << 20)};
    }
    void growsUntilTheStructureFits() {
        QFETCH(uint32_t, needed);
        QFETCH(LONG, answer);
        QFETCH(int, requests);
        QFETCH(std::size_t, finalSize);

        Provider provider{needed, answer, {}, false};
        TapiBuffer buffer;
        QCOMPARE(buffer.Fill(252, std::ref(provider)), LONG{0});
        QCOMPARE(int(provider.seenSizes.size()), requests);
        QCOMPARE(provider.seenSizes.back(), finalSize);
        QCOMPARE(buffer.Size(), finalSize);
        QCOMPARE(buffer.TotalSize(), uint32_t(finalSize));
        QVERIFY2(!provider.sawDirtyByte, "every request must see a zero-filled buffer");
    }

    void absurdDemandStopsAtOneMebibyte_data() {
        QTest::addColumn<LONG>("answer");
        QTest::newRow("needed size only") << LONG{0};
        QTest::newRow("too small every time") << LINEERR_STRUCTURETOOSMALL;
    }
    void absurdDemandStopsAtOneMebibyte() {
        QFETCH(LONG, answer);
        Provider provider{0xFFFFFFF0u, answer, {}, false};
        TapiBuffer buffer;
        QCOMPARE(buffer.Fill(24, std::ref(provider)), LINEERR_NOMEM);
        QCOMPARE(provider.seenSizes.back(), std::size_t{24 + (1u << 20)});
        QCOMPARE(int(provider.seenSizes.size()), 9); // 4 KiB doubled eight times
        QVERIFY(buffer.Empty());
    }

    void errorsOtherThanTooSmallEndAtOnce() {
        int calls = 0;
        TapiBuffer buffer;
        const LONG result = buffer.Fill(88, [&](std::byte*) {
            ++calls;
            return LINEERR_INVALLINEHANDLE;
        });
        QCOMPARE(result, LINEERR_INVALLINEHANDLE);
        QCOMPARE(calls, 1);
    }

    void bytesOutsideTheBufferAreRefused() {
        TapiBuffer buffer;
        QCOMPARE(buffer.Fill(24, [](std::byte*) { return LONG{0}; }), LONG{0});
        const std::size_t size = buffer.Size();
        QVERIFY(buffer.Bytes(24, 8).first != nullptr);
        QVERIFY(buffer.Bytes(uint32_t(size - 4), 4).first != nullptr);
        QVERIFY(buffer.Bytes(uint32_t(size - 4), 8).first == nullptr);
        QVERIFY(buffer.Bytes(0xFFFFFFF0u, 0x20).first == nullptr); // offset + size wraps
        QVERIFY(buffer.Bytes(8, 0).first == nullptr);
    }
};

QTEST_APPLESS_MAIN(TestTapiBuffer)
#include "test_tapi_buffer.moc"

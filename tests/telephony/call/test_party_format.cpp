// Party identification as the application reads it: the edit mask, name capitalisation,
// punctuation stripping, and reading a party out of a LINECALLINFO.

#include <QTest>

#include <cstring>
#include <vector>

#include "telephony/call/call.h"
#include "telephony/call/caller_id.h"
#include "telephony/call/edit_mask.h"
#include "telephony/line/line.h"
#include "telephony/line/line_device.h"
#include "telephony/tapi/tapi.h"

namespace {

// A LINECALLINFO with room for texts behind it.
class CallInfoBuffer {
public:
    CallInfoBuffer() : bytes_(sizeof(LINECALLINFO) + 256) {
        const auto total = static_cast<DWORD>(bytes_.size());
        std::memcpy(bytes_.data(), &total, sizeof total);
    }
    // Puts raw bytes at offset (relative to the structure's start).
    void Put(uint32_t offset, const QByteArray& raw) {
        std::memcpy(bytes_.data() + offset, raw.constData(), static_cast<std::size_t>(raw.size()));
    }
    const void* Data() const { return bytes_.data(); }
    std::size_t Size() const { return bytes_.size(); }
    static constexpr uint32_t Text = sizeof(LINECALLINFO);

private:
    std::vector<char> bytes_;
};

} // namespace

class TestPartyFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void maskNumber_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");
        const QString standard = QStringLiteral("000-000-0000;0");
        QTest::newRow("ten digits") << "0205551234" << standard << "020-555-1234";
        QTest::newRow("extra digit stays at the end")
            << "31612345678" << standard << "316-123-45678";
        QTest::newRow("short number padded") << "12345" << standard << "123-45 -    ";
        QTest::newRow("empty number") << "" << standard << "   -   -    ";
        QTest::newRow("letters are not checked") << "02A5551234" << standard << "02A-555-1234";
        QTest::newRow("right to left") << "12345"
                                       << "!000-0000;0"
                                       << "  1-2345";
        QTest::newRow("escaped placeholder is a literal") << "12"
                                                          << "\\0-00;0"
                                                          << "0-12";
        QTest::newRow("directives give nothing") << "1234"
                                                 << ">00<00;0"
                                                 << "1234";
        QTest::newRow("sub-fields kept") << "020-555-1234"
                                         << "000-000-0000;1"
                                         << "020-555-1234";
        QTest::newRow("sub-fields padded") << "20-5-1"
                                           << "000-000-0000;1"
                                           << "20 -5  -1   ";
        QTest::newRow("sub-fields cut") << "12345-1"
                                        << "000-0;1"
                                        << "123-1";
        QTest::newRow("sub-fields right to left") << "1-2"
                                                  << "!000-00;1"
                                                  << "  1- 2";
        QTest::newRow("no field separator") << "123456"
                                            << "000-000"
                                            << "123-   ";
        QTest::newRow("short mask") << "12"
                                    << "0;0"
                                    << "1";
    }
    void maskNumber() {
        QFETCH(QString, value);
        QFETCH(QString, mask);
        QFETCH(QString, expected);
        QCOMPARE(FormatMaskText(value, mask, QLatin1Char('/'), QLatin1Char(':')), expected);
    }

    void separatorsComeFromTheLocale() {
        QCOMPARE(FormatMaskText(QStringLiteral("1231"), QStringLiteral("00/00;0"), QLatin1Char('-'),
                                QLatin1Char('.')),
                 QStringLiteral("12-31"));
        QCOMPARE(FormatMaskText(QStringLiteral("1230"), QStringLiteral("00:00;0"), QLatin1Char('-'),
                                QLatin1Char('.')),
                 QStringLiteral("12.30"));
    }

    void formatName_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("surname first") << "BAKKER, ANNA"
                                       << "Bakker, Anna";
        QTest::newRow("apostrophe starts no word") << "O'BRIEN"
                                                   << "O'brien";
        QTest::newRow("three words") << "VAN DER BERG"
                                     << "Van Der Berg";
        QTest::newRow("hyphen starts no word") << "jan-piet de vries"
                                               << "Jan-piet De Vries";
        QTest::newRow("accented capitals keep their case") << "ÉMILE ZOLA"
                                                           << "Émile Zola";
        QTest::newRow("two blanks") << "A  BC"
                                    << "A  Bc";
        QTest::newRow("leading digit") << "2DE LIJN"
                                       << "2de Lijn";
        QTest::newRow("empty") << ""
                               << "";
    }
    void formatName() {
        QFETCH(QString, raw);
        QFETCH(QString, expected);
        QCOMPARE(CapitalizeName(raw), expected);
    }

    void stripPunctuation_data() {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("area code in parentheses") << "(020) 555-1234"
                                                  << "0205551234";
        QTest::newRow("international with points") << "+31 6.1234.5678"
                                                   << "31612345678";
        QTest::newRow("other characters stay") << "#31*0/1"
                                               << "#31*0/1";
        QTest::newRow("only punctuation") << " +()-."
                                          << "";
    }
    void stripPunctuation() {
        QFETCH(QString, raw);
        QFETCH(QString, expected);
        QCOMPARE(StripPunctuation(raw), expected);
    }

    void numberAndNameOfAPartyObject_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("translate");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<bool>("formatName");
        QTest::addColumn<QString>("expectedNumber");
        QTest::addColumn<QString>("expectedName");
        const QString standard = QStringLiteral("000-000-0000;0");
        QTest::newRow("stripped and masked")
            << "(020) 555-1234"
            << "JANSSEN PIET" << false << standard << true << "020-555-1234"
            << "Janssen Piet";
        QTest::newRow("international") << "+31 6 12345678"
                                       << "" << false << standard << true << "316-123-45678"
                                       << "";
        QTest::newRow("translated numbers keep punctuation")
            << "(020) 555"
            << "" << true << standard << true << "(02-0) -555 "
            << "";
        QTest::newRow("no mask") << "(020) 555-1234"
                                 << "" << false << "" << true << "0205551234"
                                 << "";
        QTest::newRow("name as read")
            << ""
            << "  BAKKER, ANNA" << false << standard << false << "   -   -    "
            << "  BAKKER, ANNA";
    }
    void numberAndNameOfAPartyObject() {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(bool, translate);
        QFETCH(QString, mask);
        QFETCH(bool, formatName);
        QFETCH(QString, expectedNumber);
        QFETCH(QString, expectedName);
        TetLine line;
        line.Device()->setTranslatePhoneNumber(translate);
        TetCallerID* id = line.Call()->CallerID();
        QCOMPARE(id->MaskNumber(), QStringLiteral("000-000-0000;0"));
        QCOMPARE(id->FormatName(), true);
        QCOMPARE(id->EventFilter(), true);
        id->setMaskNumber(mask);
        id->setFormatName(formatName);
        TetCallLogCallerID slot;
        slot.Number = number;
        slot.Name = name;
        id->LoadFrom(slot);
        QCOMPARE(id->Number(), expectedNumber);
        QCOMPARE(id->Name(), expectedName);
        QCOMPARE(id->RawNumber(), number);
    }

    void readingAParty_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<uint32_t>("offset");
        QTest::addColumn<uint32_t>("size");
        QTest::addColumn<QString>("expected");
        const uint32_t text = CallInfoBuffer::Text;
        QTest::newRow("plain") << QByteArray("0612345678", 11) << text << 11u << "0612345678";
        QTest::newRow("padding beyond the NUL")
            << QByteArray("0612\0GARBAGE", 12) << text << 12u << "0612";
        QTest::newRow("blanks and controls trimmed")
            << QByteArray(" \t0612 \r\n", 9) << text << 9u << "0612";
        QTest::newRow("size cuts the text") << QByteArray("0612345678", 10) << text << 4u << "0612";
        QTest::newRow("size zero") << QByteArray("0612", 4) << text << 0u << "";
        QTest::newRow("negative size") << QByteArray("0612", 4) << text << 0x80000000u << "";
        QTest::newRow("offset outside the structure")
            << QByteArray("0612", 4) << 0x7FFFFFF0u << 4u << "";
        QTest::newRow("size beyond the structure")
            << QByteArray("0612", 4) << text + 250 << 100u << "0612";
    }
    void readingAParty() {
        QFETCH(QByteArray, stored);
        QFETCH(uint32_t, offset);
        QFETCH(uint32_t, size);
        QFETCH(QString, expected);
        CallInfoBuffer info;
        const uint32_t at = std::min<uint32_t>(offset, CallInfoBuffer::Text + 250);
        info.Put(at, stored.left(static_cast<qsizetype>(info.Size() - at)));
        TetCallLogCallerID slot;
        slot.Number = QStringLiteral("old");
        ReadPartyID(slot, LINECALLPARTYID_ADDRESS, size, offset, 0, 0, info.Data(), info.Size());
        QCOMPARE(slot.Number, expected);
        QCOMPARE(slot.Name, QString());
        QCOMPARE(slot.Reported, false); // the number changed
    }

    void readingDecidesWhatIsNew() {
        CallInfoBuffer info;
        info.Put(CallInfoBuffer::Text, QByteArray("0612345678", 11));
        info.Put(CallInfoBuffer::Text + 20, QByteArray("DE VRIES", 9));
        const uint32_t number = CallInfoBuffer::Text;
        const uint32_t name = CallInfoBuffer::Text + 20;
        const DWORD both = LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME;
        TetCallLogCallerID slot;

        ReadPartyID(slot, both, 11, number, 9, name, info.Data(), info.Size());
        QCOMPARE(slot.Reported, false);
        ReadPartyID(slot, both, 11, number, 9, name, info.Data(), info.Size());
        QCOMPARE(slot.Reported, true); // the same again: nothing new to announce
        ReadPartyID(slot, both | LINECALLPARTYID_BLOCKED, 11, number, 9, name, info.Data(),
                    info.Size());
        QCOMPARE(slot.Reported, false);
        QCOMPARE(slot.Blocked, true);
        QCOMPARE(slot.OutOfArea, false);
        // Flags decide Blocked and OutOfArea even when nothing changed.
        slot.Blocked = false;
        ReadPartyID(slot, both | LINECALLPARTYID_BLOCKED, 11, number, 9, name, info.Data(),
                    info.Size());
        QCOMPARE(slot.Reported, true);
        QCOMPARE(slot.Blocked, true);
        // The texts do not depend on the flags.
        ReadPartyID(slot, LINECALLPARTYID_OUTOFAREA, 11, number, 9, name, info.Data(), info.Size());
        QCOMPARE(slot.Name, QStringLiteral("DE VRIES"));
        QCOMPARE(slot.OutOfArea, true);
        QCOMPARE(slot.Blocked, false);
        ReadPartyID(slot, LINECALLPARTYID_OUTOFAREA, 0, number, 9, name, info.Data(), info.Size());
        QCOMPARE(slot.Number, QString());
        QCOMPARE(slot.Reported, false);
    }

    void blockedAndOutOfAreaCallers_data() {
        QTest::addColumn<uint32_t>("flags");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<bool>("outOfArea");
        QTest::newRow("blocked") << 0x01u << true << false;
        QTest::newRow("out of area") << 0x02u << false << true;
        QTest::newRow("both") << 0x03u << true << true;
    }
    void blockedAndOutOfAreaCallers() {
        QFETCH(uint32_t, flags);
        QFETCH(bool, blocked);
        QFETCH(bool, outOfArea);
        CallInfoBuffer info;
        TetCallLogCallerID slot;
        ReadPartyID(slot, flags, 0, 0, 0, 0, info.Data(), info.Size());
        TetLine line;
        TetCallerID* id = line.Call()->CallerID();
        id->LoadFrom(slot);
        QCOMPARE(id->Blocked(), blocked);
        QCOMPARE(id->OutOfArea(), outOfArea);
        QCOMPARE(id->Flags(), flags);
        QCOMPARE(id->Name(), QString());
        QCOMPARE(id->Number(), QStringLiteral("   -   -    "));
    }
};

QTEST_GUILESS_MAIN(TestPartyFormat)
#include "test_party_format.moc"

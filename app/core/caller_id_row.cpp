#include "app/core/caller_id_row.h"

#include "app/core/handig.h"

CallerIdOutcome CallerIdRow(const CallerIdReading& reading, const QTime& now) {
    CallerIdOutcome out;
    const QString number = reading.hasAddress ? DigitsAndPlus(reading.number) : QString();
    if (reading.blocked)
        out.status = QStringLiteral("Verborgen Nummer");
    else if (reading.outOfArea)
        out.status = QStringLiteral("Out of area");
    else
        out.status = number;
    out.row.direction = QStringLiteral("IN");
    out.row.line = QStringLiteral("Tapi");
    out.row.time = CallTracker::timeText(now);
    out.row.number = number;
    return out;
}

int DeviceIndexOf(const QStringList& devices, const QString& name) {
    if (name.isEmpty())
        return -1;
    for (qsizetype i = 0; i < devices.size(); ++i)
        if (devices.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

QString LimitedFunctionalityText(const QString& deviceName) {
    // One paragraph: the parts follow each other without line breaks.
    return QStringLiteral("Telvane has detected that your device is a (") + deviceName +
           QStringLiteral(") DATA modem and therefore has no voice capabilities.") +
           QStringLiteral("This device will be able to:") + QLatin1Char('\t') +
           QStringLiteral("DIAL") +
           QStringLiteral("If you think you have a voice modem, expected more functionality, ") +
           QStringLiteral(
               "or other programs provide more functionality with this modem, see the ") +
           QStringLiteral(
               "topic \"Working with Modems\" in the Appendix of the Telvane help file.");
}

#include "telephony/tapi/address_translation.h"

#include <QRegularExpression>

#include "telephony/tapi/tapi_constants.h"

namespace tapi {

namespace {

QString digitsOnly(const QString& text) {
    QString out;
    for (QChar c : text)
        if (c.isDigit() || c == u'*' || c == u'#')
            out += c;
    return out;
}

} // namespace

std::optional<Translation> translateAddress(const QString& address, const DialingLocation& from,
                                            DWORD options) {
    Translation t;
    const QString in = address.trimmed();
    t.displayable = in;
    if (!in.startsWith(u'+')) {
        t.dialable = in;
        t.results = LINETRANSLATERESULT_NOTRANSLATION;
        return t;
    }
    // "+CC (AREA) SUBSCRIBER" or "+CC SUBSCRIBER"; the subscriber part may carry separators.
    static const QRegularExpression canonical(
        QStringLiteral(R"(^\+\s*(\d{1,4})\s*(?:\(\s*(\d*)\s*\))?\s*([0-9*#][0-9*# .\-]*)$)"));
    const QRegularExpressionMatch m = canonical.match(in);
    if (!m.hasMatch())
        return std::nullopt;
    const DWORD country = m.captured(1).toUInt();
    const QString area = m.captured(2);
    const QString subscriber = digitsOnly(m.captured(3));
    if (subscriber.isEmpty())
        return std::nullopt;
    t.destCountry = country;
    t.results = LINETRANSLATERESULT_CANONICAL;
    QString dial;
    if (options & LINETRANSLATEOPTION_CANCELCALLWAITING)
        dial += from.cancelCallWaiting;
    dial += from.outsideLinePrefix;
    if (country != from.countryCode) {
        t.results |= LINETRANSLATERESULT_INTERNATIONAL;
        dial += from.internationalPrefix + QString::number(country) + area + subscriber;
    } else {
        const bool local =
            (area.isEmpty() || area == from.areaCode) && !(options & LINETRANSLATEOPTION_FORCELD);
        if (local || (options & LINETRANSLATEOPTION_FORCELOCAL)) {
            t.results |= LINETRANSLATERESULT_LOCAL;
            dial += subscriber;
        } else {
            t.results |= LINETRANSLATERESULT_LONGDISTANCE;
            dial += from.longDistancePrefix + (area.isEmpty() ? from.areaCode : area) + subscriber;
        }
    }
    t.dialable = dial;
    return t;
}

} // namespace tapi

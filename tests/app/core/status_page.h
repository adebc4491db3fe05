#pragma once

// Builds status pages of the IP phone for the tests: per line the five elements, each left out
// when its value is null.

#include <QString>

#include <map>

struct PageLine {
    QString name, phone, userId, state, type;
};

inline QString statusPage(const std::map<int, PageLine>& lines) {
    QString page = QStringLiteral("<?xml version=\"1.0\"?>\r\n<flat-profile>\r\n");
    const auto element = [&](const QString& tag, const QString& group, const QString& value) {
        if (value.isNull())
            return;
        page += QStringLiteral("<%1 group=\"%2\">%3</%1>\r\n").arg(tag, group, value);
    };
    for (const auto& [n, l] : lines) {
        const QString status = QStringLiteral("Info/Line_%1_Call_1_Status").arg(n);
        element(QStringLiteral("User_ID_%1_").arg(n),
                QStringLiteral("Ext_%1/Subscriber_Information").arg(n), l.userId);
        element(QStringLiteral("Call_State"), status, l.state);
        element(QStringLiteral("Type"), status, l.type);
        element(QStringLiteral("Peer_Name"), status, l.name);
        element(QStringLiteral("Peer_Phone"), status, l.phone);
    }
    page += QStringLiteral("</flat-profile>\r\n");
    return page;
}

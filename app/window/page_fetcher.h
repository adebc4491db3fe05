#pragma once

// Fetches the IP phone's status page with an HTTP GET while a local event loop keeps the window
// responsive. A request that takes longer than the time-out, or a page larger than the size
// limit, ends as a failure with a message, so a phone that accepts the connection and never
// answers cannot stall polling for good.

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkReply;

class PageFetcher : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 30'000;
    static constexpr qint64 DefaultMaxPageBytes = 16 * 1024 * 1024;

    struct Result {
        bool ok = false;
        QString page;  // the body as text
        QString error; // the message when !ok
    };

    explicit PageFetcher(QObject* parent = nullptr);

    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    int timeoutMs() const { return m_timeoutMs; }
    void setMaxPageBytes(qint64 bytes) { m_maxPageBytes = bytes; }
    qint64 maxPageBytes() const { return m_maxPageBytes; }

    // GETs url and waits for the answer while events keep running. Error statuses and
    // connection failures give !ok with a message.
    Result get(const QUrl& url);

    bool isBusy() const { return !m_reply.isNull(); }
    // Ends a waiting request; its get() returns a failure "Request cancelled".
    void abort();

    // The body as text: UTF-8 when the answer says so, otherwise Windows-1252, one character
    // per byte, so that the length limits of the page values count bytes as the phone wrote them.
    static QString decodeBody(const QByteArray& body, const QByteArray& contentType);

private:
    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
    bool m_cancelled = false;
    int m_timeoutMs = DefaultTimeoutMs;
    qint64 m_maxPageBytes = DefaultMaxPageBytes;
};

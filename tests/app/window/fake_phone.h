#pragma once

// A small fake IP phone for tests: a real HTTP server on 127.0.0.1 that answers
// GET /admin/spacfg.xml with the next page of a script, or with an error status, or never.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class FakePhone : public QObject {
    Q_OBJECT
public:
    enum class Mode { Serve, Stall };

    explicit FakePhone(QObject* parent = nullptr);
    bool start();
    quint16 port() const { return m_server.serverPort(); }
    // "127.0.0.1:<port>", what the user types as the phone's address.
    QString address() const;

    // Pages served one per request; the last one is served again once the script ends.
    void setPages(QList<QByteArray> pages);
    void addPage(const QByteArray& page) { m_pages.append(page); }
    // Answers with this status and a short body instead of a page (0: back to pages).
    void setStatus(int status, const QByteArray& reason);
    void setMode(Mode mode) { m_mode = mode; }
    void setContentType(const QByteArray& type) { m_contentType = type; }

    int requestCount() const { return m_requests; }
    QByteArray lastRequest() const { return m_lastRequest; }

    // A status page with the given lines: n -> (state, type, name, phone, userId).
    struct Line {
        int n = 1;
        QByteArray state;
        QByteArray type;
        QByteArray name;
        QByteArray phone;
        QByteArray userId;
    };
    static QByteArray page(const QList<Line>& lines);

Q_SIGNALS:
    // A whole request has arrived (emitted before any answer).
    void requestReceived();

private:
    void onConnection();
    void onReadable(QTcpSocket* socket);

    QTcpServer m_server;
    QList<QByteArray> m_pages;
    int m_next = 0;
    int m_status = 0;
    QByteArray m_reason;
    QByteArray m_contentType = "text/xml";
    Mode m_mode = Mode::Serve;
    int m_requests = 0;
    QByteArray m_lastRequest;
};

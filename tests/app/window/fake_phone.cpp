#include "fake_phone.h"

#include <QHostAddress>

FakePhone::FakePhone(QObject* parent) : QObject(parent) {
    connect(&m_server, &QTcpServer::newConnection, this, &FakePhone::onConnection);
}

bool FakePhone::start() {
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QString FakePhone::address() const {
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

void FakePhone::setPages(QList<QByteArray> pages) {
    m_pages = std::move(pages);
    m_next = 0;
}

void FakePhone::setStatus(int status, const QByteArray& reason) {
    m_status = status;
    m_reason = reason;
}

void FakePhone::onConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void FakePhone::onReadable(QTcpSocket* socket) {
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n"))
        return;
    socket->setProperty("request", QByteArray());
    ++m_requests;
    m_lastRequest = request;
    Q_EMIT requestReceived();
    if (m_mode == Mode::Stall)
        return; // accepted, read, and never answered

    QByteArray body;
    QByteArray statusLine;
    if (m_status != 0) {
        statusLine = "HTTP/1.1 " + QByteArray::number(m_status) + " " + m_reason;
        body = "<html><body>" + m_reason + "</body></html>";
    } else {
        statusLine = "HTTP/1.1 200 OK";
        if (!m_pages.isEmpty()) {
            body = m_pages.at(std::min(m_next, static_cast<int>(m_pages.size()) - 1));
            if (m_next < m_pages.size())
                ++m_next;
        }
    }
    QByteArray answer = statusLine + "\r\nContent-Type: " + m_contentType +
                        "\r\nContent-Length: " + QByteArray::number(body.size()) +
                        "\r\nConnection: close\r\n\r\n" + body;
    socket->write(answer);
    socket->disconnectFromHost();
}

QByteArray FakePhone::page(const QList<Line>& lines) {
    QByteArray out = "<flat-profile>\r\n";
    for (const Line& l : lines) {
        const QByteArray n = QByteArray::number(l.n);
        const QByteArray group = "Info/Line_" + n + "_Call_1_Status";
        out += "<User_ID_" + n + "_ group=\"Ext_" + n + "/Subscriber_Information\">" + l.userId +
               "</User_ID_" + n + "_>\r\n";
        out += "<Call_State group=\"" + group + "\">" + l.state + "</Call_State>\r\n";
        out += "<Type group=\"" + group + "\">" + l.type + "</Type>\r\n";
        out += "<Peer_Name group=\"" + group + "\">" + l.name + "</Peer_Name>\r\n";
        out += "<Peer_Phone group=\"" + group + "\">" + l.phone + "</Peer_Phone>\r\n";
    }
    out += "</flat-profile>\r\n";
    return out;
}

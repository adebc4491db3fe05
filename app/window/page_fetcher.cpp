#include "app/window/page_fetcher.h"

#include "app/core/cp1252.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

PageFetcher::PageFetcher(QObject* parent) : QObject(parent) {
    // The phone sits on the office network: never route it through a proxy.
    m_manager.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
}

QString PageFetcher::decodeBody(const QByteArray& body, const QByteArray& contentType) {
    const QByteArray type = contentType.toLower();
    const qsizetype at = type.indexOf("charset=");
    if (at >= 0) {
        QByteArray charset = type.mid(at + 8).trimmed();
        const qsizetype end = charset.indexOf(';');
        if (end >= 0)
            charset.truncate(end);
        charset = charset.trimmed();
        if (charset.startsWith('"') && charset.endsWith('"') && charset.size() >= 2)
            charset = charset.mid(1, charset.size() - 2);
        if (charset == "utf-8" || charset == "utf8")
            return QString::fromUtf8(body);
    }
    return fromCp1252(body);
}

void PageFetcher::abort() {
    if (m_reply) {
        m_cancelled = true;
        m_reply->abort();
    }
}

PageFetcher::Result PageFetcher::get(const QUrl& url) {
    Result result;
    if (m_reply) {
        result.error = QStringLiteral("A request is already waiting");
        return result;
    }
    if (!url.isValid() || url.host().isEmpty()) {
        result.error = QStringLiteral("Invalid address: ") + url.toString();
        return result;
    }

    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/html, */*");
    QNetworkReply* reply = m_manager.get(request);
    m_reply = reply;
    m_cancelled = false;

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    bool tooLarge = false;

    connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    auto checkSize = [&](qint64 received, qint64 total) {
        if (tooLarge)
            return;
        if (received > m_maxPageBytes || total > m_maxPageBytes) {
            tooLarge = true;
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::downloadProgress, &loop, checkSize);
    connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid())
            checkSize(0, length.toLongLong());
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);

    deadline.start(m_timeoutMs);
    if (!reply->isFinished())
        loop.exec();
    deadline.stop();

    // The loop also ends when the application quits while the request waits.
    const bool finished = reply->isFinished();
    if (!finished)
        reply->abort();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason =
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();

    if (timedOut) {
        result.error = QStringLiteral("Read timed out after %1 ms").arg(m_timeoutMs);
    } else if (tooLarge) {
        result.error = QStringLiteral("Page larger than %1 bytes").arg(m_maxPageBytes);
    } else if (!finished || m_cancelled) {
        result.error = QStringLiteral("Request cancelled");
    } else if (status >= 300) {
        // An error status, told as the status line says it.
        result.error = QStringLiteral("HTTP/1.1 %1 %2").arg(status).arg(reason).trimmed();
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = reply->errorString();
    } else {
        const QByteArray body = reply->readAll();
        if (body.size() > m_maxPageBytes) {
            result.error = QStringLiteral("Page larger than %1 bytes").arg(m_maxPageBytes);
        } else {
            result.ok = true;
            result.page =
                decodeBody(body, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
        }
    }
    m_reply = nullptr;
    reply->deleteLater();
    return result;
}

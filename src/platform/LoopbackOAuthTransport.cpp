#include "platform/LoopbackOAuthTransport.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include <algorithm>
#include <initializer_list>

#include "base/CommandLine.h"

namespace qlt {

namespace {

constexpr char kSignedInPage[] =
    "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n\r\n"
    "<!DOCTYPE html><title>Quillgate</title><p>Quillgate has your sign-in. You can close this page.</p>";

// Waits in a local event loop, waking on the source's signals, until `done`
// says so or the time is up.
template <class Done>
bool waitFor(QObject* source, std::initializer_list<const char*> wakeUps, int timeoutMs, Done done) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (const char* signal : wakeUps) QObject::connect(source, signal, &loop, SLOT(quit()));
    timer.start(timeoutMs);
    while (!done() && timer.isActive()) loop.exec();
    return done();
}

// The request line's query of "GET /?code=...&state=... HTTP/1.1".
OAuthTransport::Redirect readRedirect(const QByteArray& head) {
    OAuthTransport::Redirect redirect;
    const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
    if (words.size() < 2 || words[0] != "GET") {
        redirect.failure = "the browser sent no sign-in answer";
        return redirect;
    }
    const QUrlQuery query(QUrl(QString::fromLatin1(words[1])).query());
    redirect.code = query.queryItemValue("code", QUrl::FullyDecoded).toStdString();
    redirect.state = query.queryItemValue("state", QUrl::FullyDecoded).toStdString();
    redirect.error = query.queryItemValue("error", QUrl::FullyDecoded).toStdString();
    return redirect;
}

}  // namespace

OAuthTransport::Reply LoopbackOAuthTransport::postForm(const std::string& url, const std::string& body) {
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    request.setRawHeader("Accept", "application/json");
    request.setTransferTimeout(m_requestTimeoutMs);
    QNetworkReply* reply = m_network.post(request, QByteArray::fromStdString(body));
    const bool finished =
        waitFor(reply, {SIGNAL(finished())}, m_requestTimeoutMs, [reply] { return reply->isFinished(); });
    Reply result;
    if (!finished) {
        reply->abort();
        result.failure = "no answer in time";
    } else {
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll().left(64 * 1024).toStdString();
        if (result.status == 0) result.failure = reply->errorString().toStdString();
    }
    reply->deleteLater();
    return result;
}

std::string LoopbackOAuthTransport::startRedirectListener() {
    m_listener.close();
    if (!m_listener.listen(QHostAddress::LocalHost, 0)) return {};
    return "http://127.0.0.1:" + std::to_string(m_listener.serverPort()) + "/";
}

OAuthTransport::Redirect LoopbackOAuthTransport::awaitRedirect(const std::string& authorizationUrl) {
    Redirect redirect;
    if (!m_listener.isListening()) {
        redirect.failure = "no local port is listening for the answer";
        return redirect;
    }
    if (!m_launcher.start(joinCommandLine({"xdg-open", authorizationUrl}))) {
        m_listener.close();
        redirect.failure = "the web browser could not be started";
        return redirect;
    }
    const QDeadlineTimer deadline(m_signInTimeoutMs);
    QTcpSocket* socket = nullptr;
    waitFor(&m_listener, {SIGNAL(newConnection())}, m_signInTimeoutMs, [&] {
        if (m_listener.hasPendingConnections()) socket = m_listener.nextPendingConnection();
        return socket != nullptr;
    });
    m_listener.close();
    if (socket == nullptr) {
        redirect.failure = "no sign-in answer came in time";
        return redirect;
    }
    QByteArray head;
    const auto headRead = [&] {
        head += socket->read(kMaxRedirectRequest - head.size());
        return head.contains("\r\n\r\n") || head.size() >= kMaxRedirectRequest ||
               socket->state() != QAbstractSocket::ConnectedState;
    };
    const int leftMs = static_cast<int>(std::min<qint64>(deadline.remainingTime(), m_requestTimeoutMs));
    if (!waitFor(socket, {SIGNAL(readyRead()), SIGNAL(disconnected())}, std::max(leftMs, 1), headRead)) {
        redirect.failure = "the sign-in answer did not arrive whole";
    } else {
        redirect = readRedirect(head);
        socket->write(kSignedInPage);
        socket->waitForBytesWritten(1000);
    }
    socket->disconnectFromHost();
    socket->deleteLater();
    return redirect;
}

}  // namespace qlt

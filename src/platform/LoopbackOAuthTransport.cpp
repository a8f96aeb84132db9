#include "platform/LoopbackOAuthTransport.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <vector>

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

constexpr char kNotHerePage[] = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";

// The answer from the request line "GET /?code=...&state=... HTTP/1.1";
// nothing for any other request.
std::optional<OAuthTransport::Redirect> readRedirect(const QByteArray& head) {
    const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
    if (words.size() < 2 || words[0] != "GET") return std::nullopt;
    const QUrlQuery query(QUrl(QString::fromLatin1(words[1])).query());
    if (!query.hasQueryItem("code") && !query.hasQueryItem("error")) return std::nullopt;
    OAuthTransport::Redirect redirect;
    redirect.code = query.queryItemValue("code", QUrl::FullyDecoded).toStdString();
    redirect.state = query.queryItemValue("state", QUrl::FullyDecoded).toStdString();
    redirect.error = query.queryItemValue("error", QUrl::FullyDecoded).toStdString();
    return redirect;
}

// A browser may open a spare connection before the one that brings the
// answer, or ask for something else first: the connections are read side by
// side, each other request gets a 404, and the first answer wins.
class RedirectVisits {
  public:
    static constexpr std::size_t kMaxVisits = 16;

    explicit RedirectVisits(QTcpServer& listener) : m_listener(listener) {}
    ~RedirectVisits() {
        for (const Visit& visit : m_visits) {
            visit.socket->disconnectFromHost();
            visit.socket->deleteLater();
        }
    }
    RedirectVisits(const RedirectVisits&) = delete;
    RedirectVisits& operator=(const RedirectVisits&) = delete;

    // Takes what arrived; true once a connection brought the answer.
    bool look() {
        if (m_answer) return true;
        takeConnections();
        for (Visit& visit : m_visits) {
            if (visit.done || !readHead(visit)) continue;
            visit.done = true;
            m_answer = readRedirect(visit.head);
            if (m_answer) {
                visit.socket->write(kSignedInPage);
                visit.socket->waitForBytesWritten(1000);
                return true;
            }
            visit.socket->write(kNotHerePage);
        }
        return false;
    }
    const std::optional<OAuthTransport::Redirect>& answer() const { return m_answer; }
    // Whether a request began but never ended.
    bool cutShort() const {
        return std::any_of(m_visits.begin(), m_visits.end(),
                           [](const Visit& visit) { return !visit.done && !visit.head.isEmpty(); });
    }

  private:
    struct Visit {
        QTcpSocket* socket;
        QByteArray head;
        bool done = false;
    };

    void takeConnections() {
        while (m_listener.hasPendingConnections()) {
            QTcpSocket* socket = m_listener.nextPendingConnection();
            if (m_visits.size() < kMaxVisits) {
                m_visits.push_back({socket, {}});
            } else {
                socket->abort();
                socket->deleteLater();
            }
        }
    }
    // True once the head is whole, or as whole as it will get.
    static bool readHead(Visit& visit) {
        visit.head += visit.socket->read(LoopbackOAuthTransport::kMaxRedirectRequest - visit.head.size());
        return visit.head.contains("\r\n\r\n") ||
               visit.head.size() >= LoopbackOAuthTransport::kMaxRedirectRequest;
    }

    QTcpServer& m_listener;
    std::vector<Visit> m_visits;
    std::optional<OAuthTransport::Redirect> m_answer;
};

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
    RedirectVisits visits(m_listener);
    QTimer poll;
    poll.start(kPollMs);
    const bool answered =
        waitFor(&poll, {SIGNAL(timeout())}, m_signInTimeoutMs, [&visits] { return visits.look(); });
    m_listener.close();
    if (answered) return *visits.answer();
    redirect.failure =
        visits.cutShort() ? "the sign-in answer did not arrive whole" : "no sign-in answer came in time";
    return redirect;
}

}  // namespace qlt

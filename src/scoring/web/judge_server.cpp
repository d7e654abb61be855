#include "scoring/web/judge_server.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QNetworkInterface>
#include <QTcpServer>

namespace scoring::web {

bool isLocalNetworkAddress(const QHostAddress& address) {
  bool ok = false;
  const quint32 v4 = address.toIPv4Address(&ok);
  if (!ok) return false;
  const quint32 a = v4 >> 24, b = (v4 >> 16) & 0xff;
  return a == 127 || a == 10 || (a == 172 && b >= 16 && b <= 31) || (a == 192 && b == 168) || (a == 169 && b == 254);
}

QList<QHostAddress> localNetworkAddresses() {
  QList<QHostAddress> reachable, loopback;
  for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
    if (!isLocalNetworkAddress(address)) continue;
    (address.isLoopback() ? loopback : reachable).append(QHostAddress(address.toIPv4Address()));
  }
  if (loopback.isEmpty()) loopback.append(QHostAddress(QHostAddress::LocalHost));
  return reachable + loopback;
}

namespace {
std::int64_t steadyMs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer started;
    started.start();
    return started;
  }();
  return clock.elapsed();
}

const char* methodName(QHttpServerRequest::Method method) {
  switch (method) {
    case QHttpServerRequest::Method::Get:
      return "GET";
    case QHttpServerRequest::Method::Post:
      return "POST";
    case QHttpServerRequest::Method::Head:
      return "HEAD";
    default:
      return "OTHER";
  }
}

}  // namespace

JudgeServer::JudgeServer(const std::filesystem::path& programDir, const std::filesystem::path& pageFile,
                         QObject* parent)
    : QAbstractHttpServer(parent), api_(programDir, pageFile) {}

void JudgeServer::send(const QHttpServerRequest& request, QTcpSocket* socket, const HttpReply& reply) {
  QHttpServerResponder responder = makeResponder(request, socket);
  responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(reply.status));
  const QByteArray body = QByteArray::fromStdString(reply.body);
  responder.writeHeader("Content-Type", QByteArray::fromStdString(reply.contentType));
  responder.writeHeader("Content-Length", QByteArray::number(body.size()));
  // The token is in the address: no cache keeps the page, no link passes it on.
  responder.writeHeader("Cache-Control", "no-store");
  responder.writeHeader("Referrer-Policy", "no-referrer");
  responder.writeHeader("X-Content-Type-Options", "nosniff");
  responder.writeHeader("Content-Security-Policy",
                        "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
                        "connect-src 'self'; img-src data:");
  responder.writeBody(body);
}
QString JudgeServer::listenOn(const QList<QHostAddress>& addresses, quint16 port) {
  QList<QTcpServer*> listening;
  for (const QHostAddress& address : addresses) {
    if (!isLocalNetworkAddress(address)) continue;
    auto* server = new QTcpServer(this);
    if (!server->listen(address, port)) {
      QString why = server->errorString();
      delete server;
      qDeleteAll(listening);
      return QStringLiteral("手机评分无法在 %1 端口 %2 上启动:%3。请换一个端口。")
          .arg(address.toString())
          .arg(port)
          .arg(why);
    }
    // Port 0 takes a free port on the first address and the same one on the others.
    port = server->serverPort();
    listening.append(server);
  }
  if (listening.isEmpty()) return QStringLiteral("这台电脑没有局域网地址,手机评分无法启动。");
  for (QTcpServer* server : listening) bind(server);
  port_ = port;
  return {};
}

bool JudgeServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  // A request from outside the local network never reaches the API, whatever
  // address the packet came in on.
  if (!isLocalNetworkAddress(request.remoteAddress())) {
    send(request, socket, {403, "text/plain; charset=utf-8", "forbidden\n"});
    return true;
  }
  const std::string path = request.url().path(QUrl::FullyDecoded).toStdString();
  const HttpReply reply =
      api_.handle(methodName(request.method()), path, request.value("Content-Type").toStdString(),
                  request.body().toStdString(), request.remoteAddress().toString().toStdString(), steadyMs(),
                  QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString());
  send(request, socket, reply);
  if (reply.status == 200 && request.method() == QHttpServerRequest::Method::Post) emit scoreStored();
  return true;
}

void JudgeServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  send(request, socket, {404, "text/plain; charset=utf-8", "没有这个页面。\n"});
}

}  // namespace scoring::web

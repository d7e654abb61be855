#pragma once
// The judges' phone server: plain HTTP on the machine's local network addresses
// only (loopback and the private ranges, never a public address), answering
// through JudgeApi. One object per running server: stopping it destroys it.
#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <filesystem>
#include <memory>

#include "scoring/core/judge_api.h"

namespace scoring::web {

// Loopback, 10/8, 172.16/12, 192.168/16 and link-local 169.254/16 (IPv4 only:
// phones in a hall reach the laptop over the venue's Wi-Fi by such an address).
bool isLocalNetworkAddress(const QHostAddress& address);
// The machine's local network addresses, the ones a phone can reach first and
// loopback last.
QList<QHostAddress> localNetworkAddresses();

class JudgeServer : public QAbstractHttpServer {
  Q_OBJECT

 public:
  JudgeServer(const std::filesystem::path& programDir, const std::filesystem::path& pageFile,
              QObject* parent = nullptr);

  // Listens on `addresses` at `port` (0: any free port). Empty on success, else
  // a Chinese message for the operator; on failure nothing listens.
  QString listenOn(const QList<QHostAddress>& addresses, quint16 port);
  quint16 port() const { return port_; }

  std::map<std::string, JudgeActivity> activity() const { return api_.activity(); }

 signals:
  // A score reached the scoring file.
  void scoreStored();

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  static void send(const QHttpServerRequest& request, QTcpSocket* socket, const HttpReply& reply);

  JudgeApi api_;
  quint16 port_ = 0;
};

}  // namespace scoring::web

#include "scoring/web/phone_scoring.h"

#include "base/ini_file.h"
#include "scoring/core/judge_access.h"

namespace scoring::web {

PhoneScoring::PhoneScoring(std::filesystem::path programDir, QObject* parent, QList<QHostAddress> addresses)
    : QObject(parent), programDir_(std::move(programDir)), addresses_(std::move(addresses)) {}

PhoneScoring::~PhoneScoring() = default;

QString PhoneScoring::start(quint16 port) {
  stop();
  try {
    base::IniFile config(programDir_ / "Config.ini", programDir_ / "SysConfig.ini");
    ensureJudgeTokens(config);
  } catch (const std::exception& error) {
    return QString::fromUtf8(error.what());
  }
  auto server = std::make_unique<JudgeServer>(programDir_, programDir_ / "web" / "judge.html");
  const QList<QHostAddress> addresses = addresses_.isEmpty() ? localNetworkAddresses() : addresses_;
  if (QString problem = server->listenOn(addresses, port); !problem.isEmpty()) return problem;
  address_ = addresses.first().toString();
  connect(server.get(), &JudgeServer::scoreStored, this, &PhoneScoring::scoreStored);
  server_ = std::move(server);
  emit runningChanged(true);
  return {};
}

void PhoneScoring::stop() {
  if (!server_) return;
  server_.reset();
  emit runningChanged(false);
}

QString PhoneScoring::address() const { return address_; }

QString PhoneScoring::link(const std::string& token) const {
  if (!server_ || token.empty()) return {};
  return QStringLiteral("http://%1:%2/j/%3").arg(address_).arg(server_->port()).arg(QString::fromStdString(token));
}

std::map<std::string, JudgeActivity> PhoneScoring::activity() const {
  return server_ ? server_->activity() : std::map<std::string, JudgeActivity>{};
}

}  // namespace scoring::web

#pragma once
// The phone scoring of one run of the program: the server while it runs, its
// port and the judges' links. Owned by the main window, so the server keeps
// running while the setup windows are closed and stops when the program exits.
#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>

#include "scoring/web/judge_server.h"

namespace scoring::web {

class PhoneScoring : public QObject {
  Q_OBJECT

 public:
  // The judge's page is web/judge.html in the program folder.
  // Serves on `addresses` (every local network address when empty).
  explicit PhoneScoring(std::filesystem::path programDir, QObject* parent = nullptr,
                        QList<QHostAddress> addresses = {});
  ~PhoneScoring() override;

  // Starts on every local network address; empty on success, else the message.
  // Gives judges without a token one first.
  QString start(quint16 port);
  void stop();
  bool isRunning() const { return server_ != nullptr; }
  quint16 port() const { return server_ ? server_->port() : 0; }
  // The address a phone in the hall uses: the first local network address.
  QString address() const;
  // http://<address>:<port>/j/<token>; empty while the server is stopped.
  QString link(const std::string& token) const;
  std::map<std::string, JudgeActivity> activity() const;
  const std::filesystem::path& programDir() const { return programDir_; }

 signals:
  void runningChanged(bool running);
  void scoreStored();

 private:
  std::filesystem::path programDir_;
  QList<QHostAddress> addresses_;
  std::unique_ptr<JudgeServer> server_;
  QString address_;
};

}  // namespace scoring::web

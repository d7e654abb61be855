// judgeserve EVENT_DIR [--port N] [--page FILE] [--lan]
//
// Runs the judges' phone server on an event folder without a window, the same
// server the setup window starts. Prints, in UTF-8, one line each:
//   LISTENING <port>
//   JUDGE <name> <url>          every judge of the list, in list order
//   STORED <count>              whenever scores were stored (at most once a second)
// Listens on 127.0.0.1 only unless --lan asks for the machine's local network
// addresses (never a public one). The page is EVENT_DIR/web/judge.html unless
// --page names another. Gives judges without a token one. Stops on SIGTERM or
// SIGINT and exits 0; exits 2 when it could not start.
#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "scoring/core/judge_access.h"
#include "scoring/web/judge_server.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void requestStop(int) { stopRequested = 1; }

int usage(const std::string& problem) {
  std::cerr << "judgeserve: " << problem << "\nusage: judgeserve EVENT_DIR [--port N] [--page FILE] [--lan]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) return usage("no event folder");
  const std::filesystem::path dir = argv[1];
  std::filesystem::path page = dir / "web" / "judge.html";
  int port = 0;
  bool lan = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--port" && i + 1 < argc)
      port = std::atoi(argv[++i]);
    else if (arg == "--page" && i + 1 < argc)
      page = argv[++i];
    else if (arg == "--lan")
      lan = true;
    else
      return usage("unknown argument " + arg);
  }
  if (port < 0 || port > 65535) return usage("port out of range");

  std::vector<scoring::PhoneJudge> judges;
  try {
    base::IniFile config(dir / "Config.ini");
    scoring::ensureJudgeTokens(config);
    judges = scoring::readPhoneJudges(config);
  } catch (const std::exception& error) {
    return usage(error.what());
  }

  scoring::web::JudgeServer server(dir, page);
  const QList<QHostAddress> addresses =
      lan ? scoring::web::localNetworkAddresses() : QList<QHostAddress>{QHostAddress(QHostAddress::LocalHost)};
  if (QString problem = server.listenOn(addresses, static_cast<quint16>(port)); !problem.isEmpty())
    return usage(problem.toStdString());

  std::cout << "LISTENING " << server.port() << std::endl;
  for (const scoring::PhoneJudge& judge : judges)
    std::cout << "JUDGE " << base::gbkToUtf8(judge.name) << " http://" << addresses.first().toString().toStdString()
              << ":" << server.port() << "/j/" << judge.token << std::endl;

  int stored = 0, reported = 0;
  QObject::connect(&server, &scoring::web::JudgeServer::scoreStored, [&stored] { ++stored; });
  std::signal(SIGTERM, requestStop);
  std::signal(SIGINT, requestStop);
  QTimer poll;
  int ticks = 0;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (stopRequested) app.quit();
    if (++ticks % 20 == 0 && stored != reported) {
      reported = stored;
      std::cout << "STORED " << stored << std::endl;
    }
  });
  poll.start(50);
  return app.exec();
}

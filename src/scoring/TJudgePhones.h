#pragma once
// The phone scoring window ("手机评分"): starts and stops the judges' server,
// shows each judge's link and QR code (full screen, or printed one judge per
// page), gives a judge a new link, locks a judge out, closes scoring per
// programme, and shows when and from where each judge's last score arrived.
#include <QDialog>
#include <filesystem>
#include <memory>

#include "scoring/TQrFullScreen.h"
#include "screen/dialog_service.h"

namespace Ui {
class TJudgePhones;
}
class QPrinter;

namespace scoring {

namespace web {
class PhoneScoring;
}

class TJudgePhones : public QDialog {
  Q_OBJECT

 public:
  TJudgePhones(web::PhoneScoring& phones, screen::DialogService& dialogs, QWidget* parent = nullptr);
  ~TJudgePhones() override;

  // The commands, also reached through the window's controls.
  bool setServing(bool on);  // false when the server could not start (the message was shown)
  void renewSelectedLink();
  void setJudgeLock(int row, bool locked);
  void setProgrammeClosedAt(int row, bool closed);
  // Every judge's link as shown (empty while the server is stopped).
  std::vector<JudgeLink> links() const;
  // Prints one judge per page on the printer as it is set up.
  void printLinks(QPrinter& printer) const;
  void refreshActivity();

 private:
  void load();
  void showSelectedCode();
  std::filesystem::path configPath() const;

  std::unique_ptr<Ui::TJudgePhones> ui;
  web::PhoneScoring& phones_;
  screen::DialogService& dialogs_;
};

}  // namespace scoring

#pragma once
// One judge's QR code over the whole screen, for a judge to scan from a distance;
// the arrow keys step to the next or previous judge, Esc or a click closes it.
#include <QDialog>
#include <QString>
#include <memory>
#include <vector>

namespace Ui {
class TQrFullScreen;
}

namespace scoring {

struct JudgeLink {
  QString name;
  QString link;
};

class TQrFullScreen : public QDialog {
  Q_OBJECT

 public:
  TQrFullScreen(std::vector<JudgeLink> links, int first, QWidget* parent = nullptr);
  ~TQrFullScreen() override;
  int shown() const { return shown_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void show(int index);

  std::unique_ptr<Ui::TQrFullScreen> ui;
  std::vector<JudgeLink> links_;
  int shown_ = 0;
};

}  // namespace scoring

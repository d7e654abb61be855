#pragma once
// The draw screen: a borderless, maximised window projected for the audience.
// It shows the event's background stretched over the whole window; the rolling
// area, captions and commands are laid over it.
#include <QImage>
#include <QWidget>
#include <filesystem>
#include <memory>

namespace Ui {
class TForm1;
}

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm1(std::filesystem::path programDir, QWidget* parent = nullptr);
  ~TForm1() override;

  // The picture file the background was loaded from (empty when none could be read).
  const std::filesystem::path& backgroundFile() const { return backgroundFile_; }
  const QImage& backgroundImage() const { return background_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void loadBackground();

  std::unique_ptr<Ui::TForm1> ui;
  std::filesystem::path programDir_;
  std::filesystem::path backgroundFile_;
  QImage background_;
};

#pragma once
// The sound settings dialog ("音效设置"): for each of the seven sound events a
// switch, a file of the music folder and a preview button; sound files imported
// into the music folder; a link to our page of background music. Previews play
// through the main window's sound player. OK writes the settings; the opener
// reloads them and starts the background music again after either button.
#include <QDialog>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>

#include "screen/dialog_service.h"
#include "screen/sound_players.h"

class QCheckBox;
class QComboBox;

namespace Ui {
class TMusicSet;
}

class TMusicSet : public QDialog {
  Q_OBJECT

 public:
  TMusicSet(std::filesystem::path programDir, screen::SoundPlayers& players, screen::DialogService& dialogs,
            QWidget* parent = nullptr);
  ~TMusicSet() override;

  // Opens the download page; tests replace it so that nothing is launched.
  std::function<bool(const QUrl&)> openUrl;
  std::filesystem::path downloadPage() const;

  // Cancel, Escape and the close box: the preview stops, nothing is written.
  void reject() override;

 protected:
  // The download link: blue under the pointer, opens the page on a click.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QCheckBox* checkBox(std::size_t event) const;
  QComboBox* field(std::size_t event) const;
  // Offers the music folder's sound files in every field; the fields' texts stay.
  void listSoundFiles();
  void preview(std::size_t event);
  void Button1Click();
  void Button3Click();

  std::unique_ptr<Ui::TMusicSet> ui;
  std::filesystem::path programDir_;
  screen::SoundPlayers& players_;
  screen::DialogService& dialogs_;
};

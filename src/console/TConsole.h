#pragma once
// The operator's console on the laptop screen while the draw screen stands on
// the projector: the event, the current award with its prize picture, places
// drawn and left for every award, the next award, the last batch's winners, the
// countdown, a live preview of the projector, and buttons for the draw and the
// displays. It decides nothing itself: a button triggers the command of the draw
// screen's command table that names it, a key is handed to the draw screen (the
// same command through the same engine), and it reads the draw's tables to show them.
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "draw/draw_data.h"

class QMenu;

namespace Ui {
class TConsole;
}
namespace screen {
class CommandTable;
class DialogService;
class MainMenu;
}  // namespace screen

namespace console {

class DrawPreview;

// What the draw screen shows now that is not in the draw's tables.
struct ConsoleStatus {
  QString event;         // the event's title and folder
  QString startCaption;  // the start button's caption
  QString countdown;     // the countdown shown, empty when none runs
  bool winnersDisplayPending = false;
  QPixmap prizePicture;  // the current award's prize picture, null when none
  bool rolling = false;
};

class TConsole : public QWidget {
  Q_OBJECT

 public:
  // `data`, `menu` and `commands` belong to the draw screen and outlive the
  // console; the dialog service tells whether a full-screen display is up.
  TConsole(const draw::DrawData& data, screen::MainMenu& menu, screen::CommandTable& commands,
           screen::DialogService& dialogs, std::function<ConsoleStatus()> status, QWidget* parent = nullptr);
  ~TConsole() override;

  DrawPreview* preview() const;
  // The menu of screens the draw screen can move to, shown by its button.
  void setStageScreenMenu(QMenu* menu);
  // Reads the tables and the status again, at the next turn of the event loop
  // (several calls within one command give one refresh).
  void scheduleRefresh();
  void refresh();

  // The program is ending: the console closes without asking.
  void closeWithProgram();

  // The winners of the last batch, as shown (display names).
  QStringList lastWinners() const;
  QString nextAwardText() const;

 signals:
  // A key of the draw screen, pressed or clicked here: space, Enter, F1 … F11.
  void keyPressed(int key);
  // The console's window was closed: the operator wants to end the program.
  void closeRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void connectButtons();
  // While a full-screen display is up only closing it may run: any other command
  // would run inside the display's, which the draw never allows.
  bool displayUp() const;
  void press(int key);
  void refreshAwards();
  void refreshLastBatch(bool rolling);
  std::size_t nextAwardRow() const;

  std::unique_ptr<Ui::TConsole> ui;
  const draw::DrawData& data_;
  screen::MainMenu& menu_;
  screen::CommandTable& commands_;
  screen::DialogService& dialogs_;
  std::function<ConsoleStatus()> status_;
  QTimer refreshTimer_;  // the coalesced refresh
  QTimer pollTimer_;     // the countdown and the buttons' state between commands
  bool wasRolling_ = false;
  bool batchSeen_ = false;
  bool programEnding_ = false;
  qint64 shownPictureKey_ = 0;
  std::size_t winnersAtStart_ = 0;
  std::vector<std::string> shownTable_;  // the table's cells as last shown
};

}  // namespace console

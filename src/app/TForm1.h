#pragma once
// The draw screen: a borderless, maximised window projected for the audience.
// It owns the draw (tables, engine, timers, sounds) and the screen's state, shows
// that state with styled labels, pictures and the frames of the rolling area,
// and is the engine's view: every caption, frame and question of the draw goes
// through the draw::DrawView calls below. Keys, clicks and timer ticks are calls
// into the engine.
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "draw/draw_data.h"
#include "draw/draw_view.h"
#include "draw/event_folder.h"
#include "draw/luck.h"
#include "platform/memory_return.h"
#include "platform/password_store.h"
#include "screen/dialog_service.h"
#include "screen/photo_tiles.h"
#include "screen/prize_pictures.h"
#include "screen/qt_text_measurer.h"
#include "screen/rolling_frame.h"
#include "screen/sound_players.h"
#include "screen/state/rolling_layout.h"
#include "screen/state/screen_model.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace Ui {
class TForm1;
}
namespace scoring {
struct DisplayContext;
namespace web {
class PhoneScoring;
}
}  // namespace scoring
namespace styledtext {
class TSmoothLabel;
}
namespace console {
class TConsole;
struct ConsoleStatus;
}  // namespace console
namespace screen {
class MainMenu;
class ElementMenus;
class AppearanceCommands;
class CommandTable;
class ToolCommands;
struct StageContext;
}  // namespace screen
class QMenu;

class TForm1 : public QWidget, public draw::DrawView {
  Q_OBJECT

 public:
  // Builds the window and runs the start-up on the event in programDir. The
  // desktop size is the screen's unless given (tests pin it).
  explicit TForm1(std::filesystem::path programDir, QWidget* parent = nullptr, QSize desktop = {});
  ~TForm1() override;

  // The picture file the background was loaded from (empty when none could be read).
  const std::filesystem::path& backgroundFile() const { return model_.backgroundFile; }
  const QImage& backgroundImage() const { return background_; }

  // What tests and tools reach.
  draw::DrawData& drawData() { return data_; }
  draw::Luck& luck() { return *luck_; }
  screen::ScreenModel& model() { return model_; }
  screen::DialogService& dialogs() { return dialogs_; }
  styledtext::TSmoothLabel* label(screen::Label which) const { return labels_[static_cast<std::size_t>(which)]; }
  screen::RollingFrame* frame(int k) const { return frames_[static_cast<std::size_t>(k - 1)]; }
  screen::PictureFrame* pictureFrame(int k) const { return pictureFrames_[static_cast<std::size_t>(k - 1)]; }
  QPushButton* startButton() const { return startRun_; }
  QTimer& timer(int number);
  QTimer& drawTimer(draw::DrawTimer which);
  screen::MainMenu& mainMenu() { return *mainMenu_; }
  screen::CommandTable& commands() { return *commands_; }
  screen::ToolCommands& tools() { return *tools_; }
  const screen::PhotoTiles& photoTiles() const { return photoTiles_; }
  // Names shown in the visible text frames 1 … 30, in frame order.
  QStringList visibleFrameTexts() const;

  // Shows the window where the event is drawn: with one screen maximised on it;
  // with more, full screen on the chosen screen (the projector) and the console
  // on the laptop's (TForm1_screens.cpp).
  void showOnStage();
  // The console, while a projector is connected; null with one screen.
  console::TConsole* console() const;
  // Shows the console on `where` and hands it the questions (showOnStage does it
  // with two screens; the bench shows it beside the draw screen on one).
  void showConsole(QScreen* where);
  // Makes the console (hidden) on `where` and hands it the questions: those of
  // the start-up open on the laptop before any window is shown.
  void prepareConsole(QScreen* where);
  // The screen the draw screen stands on with two screens; null with one.
  QScreen* stageScreen() const { return consoleShown() ? stageScreen_.data() : nullptr; }
  // What a key of the draw screen does, pressed here or on the console; false
  // for a key the draw screen does not take.
  bool handleKey(int key);

  // The exit save: the screen's state and the draw's modes into Config.ini.
  void saveState();
  // The operator chose at start-up to end the program rather than replace a
  // settings file that is not the program's own: nothing was loaded or written,
  // and nothing will be.
  bool startupDeclined() const { return startupDeclined_; }

 signals:
  // The program is to end without its exit save and start again (after an
  // import); main() lets go of the single-instance lock and starts it.
  void restartRequested();

 public:
  // ---- draw::DrawView ----
  void setStartCaption(const std::string& caption) override;
  void setFieldText(draw::Field field, const std::string& text) override;
  void setFieldVisible(draw::Field field, bool visible) override;
  bool isTicked(draw::ShowTick tick) const override;
  void hideRollingArea() override;
  void setFrameText(int frame, const std::string& text) override;
  void setFrameVisible(int frame, bool visible) override;
  void setPictureFrameVisible(int frame, bool visible) override;
  void setPictureFrameTile(int frame, int tile) override;
  int bigFrameNamesPerLine() const override { return model_.rolling.namesPerLine; }
  void layoutLoad(int batchSize) override;
  void layoutStore(int batchSize) override;
  bool photoTilesLoaded() const override { return photoTiles_.loaded(); }
  void loadPhotoTiles() override;
  void clearPhotoTiles() override;
  bool prizePicturesLoaded() const override { return prizePictures_.loaded(); }
  void loadPrizePictures() override;
  void clearPrizePictures() override { prizePictures_.clear(); }
  void showPrizePicture(int index) override;
  void showAwardPrizePicture(const std::string& pictureCell) override;
  void setPictureLoadButtonVisible(bool visible) override;
  void startTimer(draw::DrawTimer timer, int intervalMs) override;
  void stopTimer(draw::DrawTimer timer) override;
  void showNow() override;
  void showMessage(const std::string& text) override;
  bool ask(const std::string& text, const std::string& caption, draw::QuestionKind kind) override;
  bool askDuringDraw(const std::string& text, const std::string& caption) override;
  void stopSoundPlayer() override;
  void playSoundFile(const std::string& path, bool repeat) override;
  bool prepareStopSound(const std::string& path) override;
  void playStopSound() override;
  void openSoundSettings() override;
  void openWinnersDisplay(const std::string& shownAward) override;
  void setSingleAwardMenu(const std::string& caption, const std::vector<draw::SingleAwardItem>& items) override;
  void setModeTicks(bool textDraw, bool peopleRolling) override;
  bool lockCheck() override;
  void exitSave() override { saveState(); }
  void positionLoad() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void createElements();
  void FormCreate();
  void Timer3Timer();
  void runAutoLayout();

  // Shows the model: fonts, effects, captions, places and visibility.
  void renderModel();
  // Shows what the settings and position loads put in the model: the modes,
  // the menu's ticks, the background, the other-settings entry and every element.
  void showLoadedSettings();
  void renderLabel(screen::Label which);
  void renderFrames();
  // The big frame's and text frame k's text (1 … 30) shown as screen/state/frame_fit.h chooses.
  void fitBigFrame();
  void fitFrame(int k);
  // The boxes of elementBoxes(self), for the fitting.
  std::vector<screen::Rect> obstacles(const QWidget* self) const;
  void renderPictures();
  void placeStartButtons();
  void loadBackground();
  void scaleBackground();
  // Makes the command table and connects the element menus and the signals of the commands' helpers.
  void connectCommands();
  // The one table of the draw screen's commands (TForm1_commands.cpp).
  void buildCommandTable();
  void connectElementMenus();
  void attachFrameMenus();
  void chooseFrameFont();
  void defaultLayout();
  void setNamesPerLine(int perLine);
  void editLabelEffects(screen::Label which);
  void N17Click();
  void N7Click();  // the roster: editor or picture roster, then the restart offer
  // Reset of the draw after a setup dialog changed its data (the offer was accepted).
  void resetDrawAfterSetup();
  // Programme scoring (TForm1_scoring.cpp).
  scoring::DisplayContext scoringContext();
  void openScoringSetup();
  void openRankingDisplay();
  void openScoreDetails();
  // The phone scoring window (N110, behind the lock check, and from the setup dialog).
  void openPhoneScoring();
  // The award, grouping and predetermined dialogs' openers (TForm1_awards.cpp).
  void N8Click();
  void N11Click();
  void N92Click();
  void offerRestart(const QString& question);
  void syncOtherSettingsEntry();

  // TForm1_tools.cpp
  // Give-up and supplementary places change the counts the rolling batch was
  // chosen from, so they wait until the rolling stops.
  bool betweenBatches();
  void N18Click();
  void N58Click();
  void N12Click();
  void N106Click();
  void N108Click();
  void N109Click();
  QString executableName() const;
  void restartProgram();

  // Screens and the console (TForm1_screens.cpp).
  QScreen* storedStageScreen() const;
  bool consoleShown() const;
  void placeOnOneScreen();
  void placeOnTwoScreens(QScreen* stage);
  // Stands the window on `target` (full screen, or maximised as with one screen);
  // the layout follows a new size as at a start on that screen.
  void moveStage(QScreen* target, bool fullScreen);
  console::ConsoleStatus consoleStatus() const;
  void createStageScreenMenu();
  void fillStageScreenMenu();
  void operatorChoseStage(QScreen* target);
  void screensChanged();
  void offerNewScreen(const QString& name);

  // The result displays (TForm1_displays.cpp).
  void showWinnersAfterCommand(const std::string& shownAward);
  void showPrizes();
  // What every full-screen display takes from the draw screen: the event, the
  // dialog service, the screen the draw screen stands on and its desktop, the
  // position lock.
  screen::StageContext stageContext();

  screen::Display display() const;
  // Where an element of the given size shows when its stored place is `stored`.
  QRect onScreenBox(QPoint stored, QSize size) const;
  void keepOnScreen(QWidget* element) const;
  // The boxes of the captions, pictures and buttons shown, but `self`'s.
  std::vector<QRect> elementBoxes(const QWidget* self) const;
  // Shows a label at its stored place and font, fitted to the screen.
  void placeCaption(screen::Label which);
  // The picture frames' size: the layout's, else the photo tiles'.
  QSize pictureFrameSize() const;
  screen::Size logoSize() const;
  // The count the countdown clock shows longest: the rolling area keeps room for it.
  std::string longestCountdown() const;
  // Where the rolling area may stand among the elements the screen shows now.
  screen::RollingRoom rollingRoom() const;
  base::IniFile configForRead() const;
  styledtext::TSmoothLabel* fieldLabel(draw::Field field) const;
  void runGuarded(const std::function<void()>& command);

  std::unique_ptr<Ui::TForm1> ui;
  std::filesystem::path programDir_;
  QSize desktop_;
  draw::EventFolder folder_;
  draw::DrawData data_;
  screen::ScreenModel model_;
  std::unique_ptr<draw::Luck> luck_;
  screen::DialogService dialogs_;
  screen::QtTextMeasurer measurer_;
  screen::PhotoTiles photoTiles_;
  screen::PrizePictures prizePictures_;
  screen::SoundPlayers* sounds_ = nullptr;
  std::unique_ptr<screen::MainMenu> mainMenu_;
  std::unique_ptr<screen::CommandTable> commands_;
  // The judges' phone server lives as long as the window: it keeps serving while
  // the setup windows are closed and stops when the program exits.
  scoring::web::PhoneScoring* phoneScoring_ = nullptr;
  platform::PasswordStore passwords_;
  std::unique_ptr<screen::AppearanceCommands> appearance_;
  std::unique_ptr<screen::ToolCommands> tools_;
  std::unique_ptr<screen::ElementMenus> elementMenus_;
  std::unique_ptr<console::TConsole> console_;
  QPointer<QScreen> stageScreen_;
  QMenu* stageScreenMenu_ = nullptr;
  QMenu* textFrameMenu_ = nullptr;
  QMenu* bigFrameMenu_ = nullptr;

  QImage background_;
  std::filesystem::path loadedBackground_;
  // The background at the window's size (RGB888, as the loaded one); it shares
  // the loaded picture's pixels when the picture already has that size (the
  // shipped ones have the screen's).
  QImage scaledBackground_;
  std::array<styledtext::TSmoothLabel*, screen::kLabelCount> labels_{};
  QLabel* Image2 = nullptr;    // the logo
  QLabel* PrizePic = nullptr;  // the prize picture, stretched to its box
  QImage prizeImage_;
  QPushButton* startRun_ = nullptr;
  QPushButton* Button1 = nullptr;  // "载入图片"
  QProgressBar* progressBar_ = nullptr;
  std::array<screen::RollingFrame*, 31> frames_{};
  std::array<screen::PictureFrame*, 30> pictureFrames_{};
  QTimer Timer1;
  QTimer Timer2;
  QTimer Timer3;
  QTimer Timer4;
  // Runs whenever the event loop is idle while the pool of the next start is written ahead.
  QTimer poolAheadTimer_;
  // Two seconds after the start-up and after the ticks start or stop.
  platform::FreedMemoryReturn memoryReturn_;
  int currentBatchSize_ = 0;
  bool started_ = false;
  bool skipExitSave_ = false;
  bool startupDeclined_ = false;
};

#pragma once
// Every question the program puts to the operator goes through here: file
// dialogs, the one-line input box, the font, font-and-effect and colour dialogs,
// a spreadsheet's columns, message boxes and Yes/No questions; and the
// full-screen displays are run from here. Tests queue the next answer instead of
// a person clicking, and in headless mode nothing is shown at all: messages are
// recorded, a prompt with no queued answer is taken as cancelled, and a display
// with nothing queued for it closes as soon as it has opened.
#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "sheets/roster_columns.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

class QInputDialog;
class QWidget;

namespace screen {

class DisplayStage;

// A caption's look as the font-and-effect dialog gives it back.
struct FontAndEffect {
  styledtext::FontRecord font;
  styledtext::TSmoothEffect effect;
};

class DialogService {
 public:
  // parent: the window the dialogs are modal to; may be null.
  explicit DialogService(QWidget* parent = nullptr) : parent_(parent), headless_(headlessByDefault()) {}

  // Services made from now on start headless: tests set this before building a
  // window whose start-up already puts messages to the operator.
  static void setHeadlessByDefault(bool headless) { headlessByDefault() = headless; }

  // Open-file dialog; an empty name when cancelled. filter is in Qt's form
  // ("text (*.a *.b);;other (*.c)").
  QString openFileName(const QString& caption, const QString& folder, const QString& filter);
  // Save-file dialog that asks before replacing an existing file; empty when
  // cancelled. A name typed without an extension gets `defaultSuffix` before the
  // dialog checks for an existing file, so the file asked about is the one written.
  QString saveFileName(const QString& caption, const QString& folder, const QString& filter,
                       const QString& defaultSuffix = QString());
  // Open-file dialog choosing several files; empty when cancelled.
  QStringList openFileNames(const QString& caption, const QString& folder, const QString& filter);
  // Folder chooser showing folders only; the chosen folder's full path, empty when cancelled.
  QString folder(const QString& caption);
  // One-line input box prefilled with `prefill`; nothing when cancelled. With
  // `masked` every typed character shows as "*".
  std::optional<QString> text(const QString& caption, const QString& prompt, const QString& prefill,
                              bool masked = false);
  // The input box text() shows: wide enough that the window manager's title bar
  // shows the whole caption (the lock prompt's caption is its only text).
  static std::unique_ptr<QInputDialog> inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                                const QString& prefill, bool masked);
  // The font dialog of every "字体设置": face, style, size, underline, strike-out
  // and colour, all in the stored form; nothing when cancelled.
  std::optional<styledtext::FontRecord> font(const styledtext::FontRecord& initial);
  // The font-and-effect dialog of every "字体特效" (font changes allowed);
  // nothing when cancelled.
  std::optional<FontAndEffect> fontAndEffect(const styledtext::FontRecord& font,
                                             const styledtext::TSmoothEffect& effect);
  // The colour dialog, in the stored form (red + 256 × green + 65536 × blue);
  // nothing when cancelled.
  std::optional<int> colour(int current);
  // The columns of a spreadsheet that make a roster line; nothing when cancelled.
  std::optional<sheets::ColumnChoice> sheetColumns(const sheets::Sheet& sheet);
  // Shows a full-screen display on its screen and waits until it closes. While
  // it is up, every question is parented to it, so that a message box never
  // raises the draw screen above the display.
  void runDisplay(DisplayStage& display);
  // Yes/No; true for Yes. `warning` shows the warning icon, else the question icon.
  bool question(const QString& message, bool warning = false, const QString& caption = {});
  // Yes/No put by a draw command. The space bar drives the draw, so the next
  // press, meant to stop the names, must not answer a box that came up in between:
  // this box ignores the space bar and answers only to Enter, the Y/N keys of its
  // buttons 是(&Y) and 否(&N), Escape and the mouse. 否 is the default, for a Yes
  // that would put a window in front of the audience. Logged as "question: …".
  bool drawQuestion(const QString& message, const QString& caption = {});
  void message(const QString& message, const QString& caption = {});
  // Yes/No/Cancel with the question icon, for "save before closing?".
  enum class Choice { Yes, No, Cancel };
  Choice choice(const QString& message, const QString& caption = {});
  // Runs a command; a file or conversion error it raises is shown as a message
  // (what the command did before the failure stays). False when it failed.
  bool reportFailures(const std::function<void()>& command);

  // ---- test hooks ----
  void setHeadless(bool headless) { headless_ = headless; }
  void setNextFileName(const QString& name) { fileNames_.push_back(name); }
  void setNextFileNames(const QStringList& names) { fileLists_.push_back(names); }
  void setNextFolder(const QString& path) { folders_.push_back(path); }
  void setNextText(std::optional<QString> answer) { texts_.push_back(std::move(answer)); }
  void setNextAnswer(bool yes) { answers_.push_back(yes); }
  void setNextFont(std::optional<styledtext::FontRecord> font) { fonts_.push_back(std::move(font)); }
  void setNextChoice(Choice choice) { choices_.push_back(choice); }
  void setNextFontAndEffect(std::optional<FontAndEffect> answer) { effects_.push_back(std::move(answer)); }
  void setNextColour(std::optional<int> colour) { colours_.push_back(colour); }
  void setNextColumns(std::optional<sheets::ColumnChoice> choice) { columns_.push_back(std::move(choice)); }
  // The next display runs for real (full screen, modal); `whileShown` gets it
  // once it is up, and it is closed afterwards unless `whileShown` closed it.
  void setNextDisplay(std::function<void(DisplayStage&)> whileShown) { displays_.push_back(std::move(whileShown)); }
  // The window questions are parented to now.
  QWidget* parentWindow() const { return console_ != nullptr ? console_ : parent_; }
  // With a projector connected the operator works at the console on the laptop
  // screen: every question, file dialog and message box is parented to it, so it
  // opens there and never in front of the audience, also while a display is up.
  // Null: back to the draw screen (one screen).
  void setConsole(QWidget* console) { console_ = console; }
  QWidget* console() const { return console_; }
  // The full-screen display running now; null when none is up.
  DisplayStage* runningDisplay() const { return running_; }
  // What was put to the operator, in order: "message: …", "question: …",
  // "text: caption", "open: caption", "save: caption", "folder: caption", "font",
  // "effect", "colour", "columns", "display: window title" (a Yes/No/Cancel
  // question is logged as "question: …" too).
  const QStringList& log() const { return log_; }
  void clearLog() { log_.clear(); }

 private:
  template <typename T>
  bool takeQueued(std::deque<T>& queue, T& answer);

  QWidget* parent_;
  QWidget* console_ = nullptr;
  DisplayStage* running_ = nullptr;
  static bool& headlessByDefault() {
    static bool value = false;
    return value;
  }

  bool headless_ = false;
  std::deque<QString> fileNames_;
  std::deque<QStringList> fileLists_;
  std::deque<QString> folders_;
  std::deque<std::optional<QString>> texts_;
  std::deque<bool> answers_;
  std::deque<std::optional<styledtext::FontRecord>> fonts_;
  std::deque<Choice> choices_;
  std::deque<std::optional<FontAndEffect>> effects_;
  std::deque<std::optional<int>> colours_;
  std::deque<std::optional<sheets::ColumnChoice>> columns_;
  std::deque<std::function<void(DisplayStage&)>> displays_;
  QStringList log_;
};

}  // namespace screen

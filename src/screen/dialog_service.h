#pragma once
// Every question the draw screen's commands put to the operator goes through
// here: file dialogs, the one-line input box, the font dialog, message boxes and
// Yes/No questions. Tests queue the next answer instead of a person clicking, and
// in headless mode nothing is shown at all: messages are recorded, and a prompt
// with no queued answer is taken as cancelled.
#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "styledtext/core/font_record.h"

class QWidget;

namespace screen {

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
  // The font dialog of every "字体设置": face, style, size, underline, strike-out
  // and colour, all in the stored form; nothing when cancelled.
  std::optional<styledtext::FontRecord> font(const styledtext::FontRecord& initial);
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
  // What was put to the operator, in order: "message: …", "question: …",
  // "text: caption", "open: caption", "save: caption", "folder: caption", "font"
  // (a Yes/No/Cancel question is logged as "question: …" too).
  const QStringList& log() const { return log_; }
  void clearLog() { log_.clear(); }

 private:
  template <typename T>
  bool takeQueued(std::deque<T>& queue, T& answer);

  QWidget* parent_;
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
  QStringList log_;
};

}  // namespace screen

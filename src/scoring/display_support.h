#pragma once
// What the ranking display and the score details display share: what they take
// from the main window, their built-in background, the sounds, the title edit,
// and the one message a repeated reading error gets.
#include <QImage>
#include <QString>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "screen/dialog_service.h"
#include "screen/display_stage.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

namespace screen {
class SoundPlayers;
}
namespace scoring {

// The main screen's look and state that a display copies when it opens.
struct MainScreenLook {
  std::string mainTitle;  // GBK caption
  styledtext::FontRecord mainTitleFont;
  styledtext::TSmoothEffect mainTitleEffect;
  styledtext::FontRecord subTitleFont;
  styledtext::TSmoothEffect subTitleEffect;
};

// Everything a display needs from the window that opens it.
struct DisplayContext : screen::StageContext {
  screen::SoundPlayers* sounds = nullptr;  // the main window's MediaPlayer1; may be null (tests, tools)
  MainScreenLook look;
};

// The picture a display shows until one is chosen: a dark stage gradient.
QImage builtInBackground(QSize size);

// Sound playback of a display's event from "音效设置" (an absent switch is on):
// stops what plays, then plays the file, or says "找不到 …" when it is missing.
// With `reported`, a missing file is named once per set (a display that plays a
// sound every second must not stack the same message).
void playDisplaySound(const DisplayContext& context, const char* utf8Event, bool repeat,
                      std::set<std::string>* reported = nullptr);

// The title edit of both displays: the input box "标题"; an answer that is empty
// after trimming is refused with "标题内容不可为空". The untrimmed answer, or nothing.
std::optional<QString> askTitle(screen::DialogService& dialogs, const QString& current);

// A reading error shows once: again only when the message or the scoring file
// changes. While a message is open, readings pause, so boxes never stack.
class ReadingErrors {
 public:
  // True while the message box is open: the caller skips its reading.
  bool busy() const { return showing_; }
  void report(screen::DialogService& dialogs, const std::string& utf8Message, const std::filesystem::path& file);
  // A reading went through: the next error is shown again.
  void clear() { lastMessage_.clear(); }
  int shownCount() const { return shown_; }

 private:
  std::string lastMessage_;
  std::string lastSignature_;
  bool showing_ = false;
  int shown_ = 0;
};

}  // namespace scoring

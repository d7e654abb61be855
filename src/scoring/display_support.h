#pragma once
// What the ranking display and the score details display share: what they take
// from the main window, their styled captions' stored form, the background
// picture, the sounds, and the one message a repeated reading error gets.
#include <QImage>
#include <QString>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "base/ini_file.h"
#include "screen/dialog_service.h"
#include "styledtext/core/effect.h"
#include "styledtext/core/font_record.h"

class QWidget;
namespace screen {
class SoundPlayers;
}
namespace styledtext {
class TSmoothLabel;
}

namespace scoring {

// The main screen's look and state that a display copies when it opens.
struct MainScreenLook {
  std::string mainTitle;  // GBK caption
  styledtext::FontRecord mainTitleFont;
  styledtext::TSmoothEffect mainTitleEffect;
  styledtext::FontRecord subTitleFont;
  styledtext::TSmoothEffect subTitleEffect;
  bool positionLock = false;
};

// Everything a display needs from the window that opens it.
struct DisplayContext {
  std::filesystem::path programDir;
  screen::DialogService* dialogs = nullptr;
  screen::SoundPlayers* sounds = nullptr;  // the main window's MediaPlayer1; may be null (tests, tools)
  MainScreenLook look;
  QSize screen;  // the desktop size the display lays itself out on
};

// A styled caption's stored form: font, effect and position.
struct CaptionState {
  styledtext::FontRecord font;
  styledtext::TSmoothEffect effect;
  int left = 50;
  int top = 100;
};
// Reads a caption section: the font keys with these defaults over `startFont`
// (an empty name keeps the start face), the effect keys with alpha 100 and every
// other key 0 or off over `startEffect`, and Top and Left.
CaptionState readCaption(const base::IniFile& file, const std::string& section, styledtext::FontRecord startFont,
                         const styledtext::TSmoothEffect& startEffect, int charsetDefault, int topDefault,
                         int leftDefault = 50);
void writeCaption(base::IniFile& file, const std::string& section, const CaptionState& caption);

// Gives a styled label a font, an effect and a caption in one render.
void applyCaption(styledtext::TSmoothLabel* label, const styledtext::FontRecord& font,
                  const styledtext::TSmoothEffect& effect, const QString& caption);

// The picture a display shows until one is chosen: a dark stage gradient.
QImage builtInBackground(QSize size);
// backpic\<name> when the name is not empty and the file exists.
std::optional<std::filesystem::path> backgroundFile(const std::filesystem::path& programDir,
                                                    const std::string& gbkName);
// "更换背景": the open dialog in "backpic" with the display pictures' filter; a
// picture chosen elsewhere is copied into "backpic". The chosen bare name (GBK),
// or nothing when cancelled or unreadable (the operator is told).
std::optional<std::string> chooseBackground(const std::filesystem::path& programDir, screen::DialogService& dialogs);

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

// Colours stored as red + 256 × green + 65536 × blue.
QColor colourFromStored(int stored);
int colourToStored(const QColor& colour);

}  // namespace scoring

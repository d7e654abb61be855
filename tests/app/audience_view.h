#pragma once
// The draw screen as the audience sees it during a batch of any size: the
// captions a draw writes, the frames of that batch's layout filled as a draw
// fills them, and the boxes of everything shown. Shared by the layout tests and
// the layout report tool, so both look at the same thing.
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "app/TForm1.h"
#include "base/gbk.h"
#include "base/ini_file.h"
#include "draw/rolling_feed.h"
#include "screen/rolling_frame.h"
#include "styledtext/TSmoothLabel.h"

namespace audience_view {

struct Element {
  QString name;
  QRect box;
};

// An event copy that draws quietly and at once: no sounds, no countdowns.
inline void quietenEvent(const std::filesystem::path& programDir) {
  const bool hasConfig = std::filesystem::exists(programDir / "Config.ini");
  base::IniFile ini(programDir / (hasConfig ? "Config.ini" : "SysConfig.ini"));
  base::IniBatch batch(ini);
  for (const char* key : {"背景音乐_check", "抽奖开始_check", "抽奖停止_check"})
    ini.writeInt(base::utf8ToGbk("音效设置"), base::utf8ToGbk(key), 0);
  // Award rolling prepares the stop sound's file even when it is off; without a
  // sound device that would refuse to start.
  ini.writeString(base::utf8ToGbk("音效设置"), base::utf8ToGbk("抽奖停止"), "");
  for (const char* key : {"自动抽奖", "自动开始"}) ini.writeInt(base::utf8ToGbk("界面设置"), base::utf8ToGbk(key), 0);
}

// Sets the draw and rolling modes of an event copy before the window starts.
inline void setModes(const std::filesystem::path& programDir, bool textDraw, bool peopleRolling) {
  const bool hasConfig = std::filesystem::exists(programDir / "Config.ini");
  base::IniFile ini(programDir / (hasConfig ? "Config.ini" : "SysConfig.ini"));
  ini.writeBool(base::utf8ToGbk("窗体样式"), base::utf8ToGbk("抽奖模式"), textDraw);
  ini.writeBool(base::utf8ToGbk("窗体样式"), base::utf8ToGbk("滚动模式"), peopleRolling);
}

// Starts and stops the first batch as the operator does, so the award, prize,
// guest and progress captions hold what a draw writes into them.
inline void drawFirstBatch(TForm1& window) {
  window.luck().startStopCommand();
  window.luck().startStopCommand();
}

// The longest display name of the roster (by bytes, the first of equal length):
// what the auto layout sizes the frames for.
inline std::string longestName(TForm1& window) {
  const draw::Table& roster = window.drawData().AllNameList;
  std::string longest;
  for (std::size_t r = 1; r < roster.rowCount(); ++r) {
    const std::string& name = roster.cell(draw::person::kDisplayName, r);
    if (name.size() > longest.size()) longest = name;
  }
  return longest;
}

// Loads the layout of batch size n and fills its frames as a draw does: each
// text frame or the big frame with the roster's longest name, the picture
// frames with photo tiles.
inline void showBatch(TForm1& window, int n) {
  window.layoutLoad(n);
  draw::showFramesForBatch(window.drawData(), window, n);
  const std::string name = longestName(window);
  if (!window.drawData().settings.textDraw) {
    if (!window.photoTilesLoaded()) window.loadPhotoTiles();
    for (int k = 1; k <= std::min(n, draw::kFrameCount); ++k) window.setPictureFrameTile(k, k - 1);
  } else if (n > draw::kFrameCount) {
    window.setFrameText(
        draw::kBigFrame,
        draw::bigFrameText(window.bigFrameNamesPerLine(), std::vector<std::string>(std::size_t(n), name), name.size()));
  } else {
    for (int k = 1; k <= n; ++k) window.setFrameText(k, name);
  }
}

// The countdown clock as an auto stop shows it over the rolling names.
inline void showCountdown(TForm1& window, int seconds) {
  window.setFieldText(draw::Field::TimeShow, std::to_string(seconds));
  window.setFieldVisible(draw::Field::TimeShow, true);
}

// Every element shown, with the box it covers: captions with text (styled
// labels with their effects), logo, prize picture, buttons, text and picture frames.
inline std::vector<Element> visibleElements(const TForm1& window) {
  std::vector<Element> shown;
  const auto* self = static_cast<const QWidget*>(&window);
  for (screen::Label which : screen::kAllLabels) {
    styledtext::TSmoothLabel* l = window.label(which);
    if (l->isVisibleTo(self) && !l->Caption().isEmpty()) shown.push_back({l->objectName(), l->geometry()});
  }
  for (const char* name : {"Image2", "PrizePic", "startRun", "Button1"}) {
    auto* w = window.findChild<QWidget*>(QString::fromLatin1(name));
    if (w && w->isVisibleTo(self) && !w->size().isEmpty()) shown.push_back({w->objectName(), w->geometry()});
  }
  for (int k = 1; k <= 31; ++k)
    if (window.frame(k)->isVisibleTo(self))
      shown.push_back({window.frame(k)->objectName(), window.frame(k)->geometry()});
  for (int k = 1; k <= 30; ++k)
    if (window.pictureFrame(k)->isVisibleTo(self))
      shown.push_back({window.pictureFrame(k)->objectName(), window.pictureFrame(k)->geometry()});
  return shown;
}

}  // namespace audience_view

#pragma once
// The four full-screen displays as the audience sees them: each opened by the
// draw screen's own command on the window's screen size, settled (the prize
// display's first tick shown, the ranking display's opening animation run to
// its end), and every element it shows with the box it covers. Shared by the
// display sizes test and the layout report tool, so both look at the same thing.
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/TForm1.h"
#include "app/audience_view.h"
#include "displays/TPrize.h"
#include "displays/TShowPanel.h"
#include "platform/qt_gbk.h"
#include "scoring/TPorShow.h"
#include "screen/dialog_service.h"
#include "screen/main_menu.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/TSmoothScrollText.h"
#include "styledtext/qt_rasteriser.h"

namespace display_view {

using audience_view::Element;

enum class Display { Winners, Prize, Ranking, Details };

inline std::optional<Display> parseDisplay(const std::string& name) {
  if (name == "winners") return Display::Winners;
  if (name == "prize") return Display::Prize;
  if (name == "ranking") return Display::Ranking;
  if (name == "details") return Display::Details;
  return std::nullopt;
}

inline const char* displayName(Display which) {
  switch (which) {
    case Display::Winners:
      return "winners";
    case Display::Prize:
      return "prize";
    case Display::Ranking:
      return "ranking";
    case Display::Details:
      return "details";
  }
  return "";
}

// One element per line of the winners' text that shows in the box when the
// text is at its start (blank lines show nothing), as the scrolling text lays
// its lines out: centred, one row advance apart, below the top fade.
inline void addTextLines(const styledtext::TSmoothScrollText& text, std::vector<Element>& shown) {
  const styledtext::TScrollTextParam& p = text.Text();
  const QFontMetrics metrics(styledtext::qtFont(p.Font));
  const int advance = styledtext::rowAdvance(metrics.height(), p.RowPitch);
  int y = (p.Fade ? p.FadeHeight : 0) + text.height() * p.HeadSpace / 100;
  for (std::size_t i = 0; i < p.Lines.size(); ++i, y += advance) {
    if (y + metrics.height() > text.height()) break;
    const QString line = platform::fromGbk(p.Lines[i]);
    if (line.trimmed().isEmpty()) continue;
    // The line is centred with its blanks; the box covers what is drawn of it.
    const QString trimmed = line.trimmed();
    const int leading = metrics.horizontalAdvance(line.left(line.indexOf(trimmed.at(0))));
    const int left = text.x() + (text.width() - metrics.horizontalAdvance(line)) / 2 + leading;
    shown.push_back({QStringLiteral("NameText.line%1").arg(i + 1),
                     QRect(left, text.y() + y, metrics.horizontalAdvance(trimmed), metrics.height())});
  }
}

// Every element a display shows: captions with text, pictures, the bars, the
// labels with text, and for the winners' text one element per line.
inline std::vector<Element> visibleElements(const QWidget& stage) {
  std::vector<Element> shown;
  const QRect whole(QPoint(0, 0), stage.size());
  for (QWidget* w : stage.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isVisibleTo(&stage) || w->size().isEmpty() || qobject_cast<QMenu*>(w)) continue;
    if (const auto* text = qobject_cast<styledtext::TSmoothScrollText*>(w)) {
      addTextLines(*text, shown);
      continue;
    }
    if (const auto* caption = qobject_cast<styledtext::TSmoothLabel*>(w)) {
      if (caption->Caption().isEmpty()) continue;
    } else if (const auto* label = qobject_cast<QLabel*>(w)) {
      if (label->text().isEmpty() && label->pixmap().isNull()) continue;
    }
    if (w->geometry() == whole) continue;  // a background
    shown.push_back({w->objectName(), w->geometry()});
  }
  return shown;
}

// Brings an opened display to what the audience sees after it has settled.
inline void settle(screen::DisplayStage& stage) {
  if (auto* prize = qobject_cast<displays::TPrize*>(&stage)) prize->Timer1Timer();
  if (auto* ranking = qobject_cast<scoring::TPorShow*>(&stage)) {
    ranking->animationTimer().stop();
    ranking->animationTimer().start();  // the ticks below run it; the timer only marks it as running
    for (int tick = 0; tick < 200000 && ranking->animationTimer().isActive(); ++tick) ranking->Timer2Timer();
    ranking->refreshTimer().stop();
  }
}

// Opens `which` from the window's command and returns what it shows; `also`
// gets the settled display too.
inline std::vector<Element> openAndCollect(TForm1& window, Display which,
                                           const std::function<void(screen::DisplayStage&)>& also = {}) {
  std::vector<Element> shown;
  window.dialogs().setNextDisplay([&](screen::DisplayStage& stage) {
    settle(stage);
    shown = visibleElements(stage);
    if (also) also(stage);
  });
  const char* item = which == Display::Winners ? "F101"
                     : which == Display::Prize ? "F31"
                     : which == Display::Ranking ? "N65"
                                                 : "N14";
  window.mainMenu().action(QString::fromLatin1(item))->trigger();
  return shown;
}

}  // namespace display_view

#include "screen/appearance_commands.h"

#include <QWidget>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "platform/qt_gbk.h"
#include "screen/lock_check.h"
#include "screen/picture_files.h"
#include "screen/state/element_commands.h"

namespace screen {

namespace fs = std::filesystem;

AppearanceCommands::AppearanceCommands(ScreenModel& model, fs::path programDir, DialogService& dialogs,
                                       const platform::PasswordStore& passwords, QObject* parent)
    : QObject(parent), model_(model), programDir_(std::move(programDir)), dialogs_(dialogs), passwords_(passwords) {}

template <typename Command>
void AppearanceCommands::guarded(Command&& command) {
  dialogs_.reportFailures(command);
}

void AppearanceCommands::editTitle(Label title) {
  const QString current = platform::fromGbk(model_.label(title).caption);
  const QString caption = QString::fromUtf8(titleInputCaption(title).data());
  // Cancelling changes nothing, and says nothing either, even when the current text is empty.
  const std::optional<QString> answer = dialogs_.text(caption, QString(), current);
  if (!answer) return;
  switch (setTitleText(model_, title, platform::toGbk(*answer))) {
    case TitleEdit::RefusedEmpty:
      dialogs_.message(QString::fromUtf8(emptyTitleMessage(title).data()));
      break;
    case TitleEdit::Changed:
      emit modelChanged();
      break;
    case TitleEdit::Unchanged:
      break;
  }
}

void AppearanceCommands::chooseFont(Label label) {
  LabelFont& font = model_.label(label).font;
  const std::optional<LabelFont> chosen = dialogs_.font(font);
  if (!chosen) return;
  // The element takes face, size, colour and style; the character set stays as it was.
  const int size = chosen->size > 0 ? chosen->size : font.size;
  const int charset = font.charset;
  font = *chosen;
  font.size = size;
  font.charset = charset;
  emit modelChanged();
}

void AppearanceCommands::editLabelEffects(Label label) {
  if (editEffects) editEffects(label);
}

void AppearanceCommands::centre(Element element, int width) {
  const int left = centredLeft(desktopWidth_, width);
  if (std::optional<Label> label = labelOf(element)) {
    model_.label(*label).position.x = left;
  } else if (element == Element::Logo) {
    model_.logo.x = left;
  } else {
    model_.prizePicture.position.x = left;
  }
  emit modelChanged();
}

void AppearanceCommands::resizePrize(PrizeResize step) {
  resizePrizePicture(model_.prizePicture, step);
  emit modelChanged();
}

void AppearanceCommands::toggleShowTick(ShowTick tick) {
  screen::toggleShowTick(model_, tick);
  emit modelChanged();
}

void AppearanceCommands::togglePositionLock() {
  model_.positionLock = !model_.positionLock;
  emit modelChanged();
}

void AppearanceCommands::applyTheme(int index) {
  if (index < 0 || index >= static_cast<int>(kThemes.size())) return;
  const fs::path picture = programDir_ / "backpic" / kThemes[index].file;
  // A damaged theme picture would otherwise be stored as the background and show nothing.
  std::error_code ec;
  if (fs::is_regular_file(picture, ec) && !readableOrTold(dialogs_, platform::toQString(picture))) return;
  guarded([&] {
    if (screen::applyTheme(base::ConfigFiles(programDir_), model_, kThemes[index])) emit modelChanged();
  });
}

void AppearanceCommands::changeBackground() {
  if (!passLock(passwords_, dialogs_)) return;
  const std::optional<fs::path> chosen = askPicture(dialogs_, programDir_ / "backpic");
  if (!chosen) return;
  guarded([&] {
    screen::changeBackground(programDir_, model_, *chosen);
    emit modelChanged();
  });
}

void AppearanceCommands::changeLogo() {
  const std::optional<fs::path> chosen = askPicture(dialogs_, programDir_ / "image");
  if (!chosen) return;
  guarded([&] {
    screen::changeLogo(programDir_, model_, *chosen);
    emit modelChanged();
    if (exitSave) exitSave();
  });
}

void AppearanceCommands::elementMoved(Element element, QPoint to) {
  const Point at{to.x(), to.y()};
  if (std::optional<Label> label = labelOf(element)) {
    model_.label(*label).position = at;
  } else if (element == Element::Logo) {
    model_.logo = at;
  } else {
    model_.prizePicture.position = at;
  }
}

void connectElementMenus(ElementMenus& menus, AppearanceCommands& appearance) {
  QObject::connect(&menus, &ElementMenus::setContentRequested, &appearance, &AppearanceCommands::editTitle);
  QObject::connect(&menus, &ElementMenus::fontRequested, &appearance, &AppearanceCommands::chooseFont);
  QObject::connect(&menus, &ElementMenus::effectsRequested, &appearance, &AppearanceCommands::editLabelEffects);
  QObject::connect(&menus, &ElementMenus::changeLogoRequested, &appearance, &AppearanceCommands::changeLogo);
  QObject::connect(&menus, &ElementMenus::resizePrizeRequested, &appearance, &AppearanceCommands::resizePrize);
  QObject::connect(&menus, &ElementMenus::centreRequested, &appearance, [&menus, &appearance](Element element) {
    if (QWidget* widget = menus.widget(element)) appearance.centre(element, widget->width());
  });
}

}  // namespace screen

#include "screen/state/screen_settings.h"

#include "base/gbk.h"
#include "base/paths.h"
#include "draw/run_record.h"
#include "screen/state/background_lookup.h"
#include "screen/state/config_keys.h"
#include "screen/state/ini_names.h"
#include "screen/state/rolling_layout.h"

namespace screen {

namespace fs = std::filesystem;

namespace {

using base::gbk;

// Design-time colours of the labels, used where the loader's default is the
// missing marker; the title and the clock have real loader defaults.
Colour defaultLabelColour(Label label) {
  switch (label) {
    case Label::MainTitle:
      return 0;
    case Label::TimeShow:
    case Label::SecTitle:
      return 65535;  // yellow
    case Label::ItemName:
      return 0x000080;  // maroon
    case Label::PrizeName:
      return 0x800000;  // navy
    default:
      return 0;
  }
}

// GB2312 for the Chinese design faces; the main title's loader default is 0.
int defaultLabelCharset(Label label) { return label == Label::MainTitle ? 0 : 134; }

// The caption key of the two titles; none for the other labels.
const base::TextKey* titleKey(Label label) {
  if (label == Label::MainTitle) return &keys::kMainTitleText;
  if (label == Label::SecTitle) return &keys::kSecTitleText;
  return nullptr;
}

// The labels whose place is stored under "X坐标"/"Y坐标"; the clock uses "Left"/"Top".
constexpr std::array<Label, 7> kPlacedLabels = {Label::MainTitle, Label::SecTitle,   Label::ActionHint,
                                                Label::PrizeName, Label::HonorGuest, Label::RateProgress,
                                                Label::ItemName};

void readLabel(const base::IniFile& ini, Label which, LabelState& label) {
  const std::string_view section = labelSection(which);
  label.font.color = ini.readInt(section, "Font.Color", defaultLabelColour(which));
  label.font.size = ini.readInt(section, "Font.Size", 20);
  label.font.name = ini.readString(section, "Font.Name", "");
  if (const base::TextKey* key = titleKey(which)) label.caption = readKey(ini, *key);
  label.font.charset = ini.readInt(section, "Font.Charset", defaultLabelCharset(which));
  label.effect =
      styledtext::readEffect(ini, section, styledtext::kLabelEffectPrefix, styledtext::EffectDefaults::mainWindow());
}

}  // namespace

fs::path findLogoPicture(const fs::path& programDir, const std::string& gbkStoredName) {
  if (!base::isUnsafeBareName(gbkStoredName)) {
    fs::path stored = base::joinGbk(programDir / "image", gbkStoredName);
    if (base::isFile(stored)) return stored;
  }
  fs::path fallback = programDir / "image" / "logo.png";
  return base::isFile(fallback) ? fallback : fs::path();
}

void loadMainSettings(const base::ConfigFiles& files, const Display& display, ScreenModel& model) {
  const base::IniFile ini = files.openWithFallback();

  model.resolutionChanged = false;
  if (readKey(ini, keys::kWindowWidth) != display.desktop.width) {
    model.resolutionChanged = true;
  } else if (readKey(ini, keys::kWindowHeight) != display.desktop.height) {
    model.resolutionChanged = true;
  }

  model.backgroundName = readKey(ini, keys::kBackground);
  model.backgroundFile = findBackgroundPicture(files.programDir(), model.backgroundName);

  model.logoName = readKey(ini, keys::kLogo);
  model.logoFile = findLogoPicture(files.programDir(), model.logoName);
  model.logo = {readKey(ini, keys::kLogoLeft), readKey(ini, keys::kLogoTop)};

  const draw::DrawModes modes = draw::readDrawModes(ini);
  model.textDraw = modes.textDraw;
  model.peopleRolling = modes.peopleRolling;

  for (std::size_t i = 0; i < kShowTickCount; ++i) model.showTicks[i] = readKey(ini, keys::kShowTicks[i]);

  for (Label which : kAllLabels) readLabel(ini, which, model.label(which));
  LabelState& clock = model.label(Label::TimeShow);
  clock.position = {ini.readInt("TimeShow", "Left", 100), ini.readInt("TimeShow", "Top", half(display.desktop.height))};
  clock.visible = false;

  model.label(Label::MainTitle).visible = model.tick(ShowTick::MainTitle);
  model.label(Label::SecTitle).visible = model.tick(ShowTick::SecTitle);
  model.startButtonVisible = model.tick(ShowTick::StartButton);
  model.pictureLoadButtonVisible = !model.textDraw && model.tick(ShowTick::StartButton);
  model.logoVisible = model.tick(ShowTick::Logo);
  model.label(Label::RateProgress).visible = model.tick(ShowTick::RateProgress);
  model.label(Label::ActionHint).visible = model.tick(ShowTick::ActionHint);
  model.label(Label::PrizeName).visible = model.tick(ShowTick::PrizeName);
  model.prizePictureVisible = model.tick(ShowTick::PrizePicture);
  model.label(Label::HonorGuest).visible = model.tick(ShowTick::HonorGuest);
  model.label(Label::ItemName).visible = model.tick(ShowTick::ItemName);

  model.rolling.giveFontToAllFrames(model.rolling.textFont.withStored(readFrameFont(ini, "S1", 20)));
}

void loadPositions(const base::ConfigFiles& files, const Display& display, ScreenModel& model) {
  base::IniFile ini = files.openWithFallback();
  const int centreX = half(display.desktop.width);
  const int centreY = half(display.desktop.height);

  model.firstRun = draw::readFirstRunFlag(ini);

  for (Label which : kPlacedLabels) {
    const std::string_view section = labelSection(which);
    model.label(which).position = readPlace(ini, section, {centreX, centreY});
  }
  model.prizePicture.position = readPlace(ini, "PrizePic", {centreX, centreY});
  model.prizePicture.size = {readKey(ini, keys::kPrizePictureWidth), readKey(ini, keys::kPrizePictureHeight)};

  model.positionLock = readKey(ini, keys::kPositionLock);
  model.rolling.namesPerLine = readNamesPerLine(ini);

  model.rolling.hideTextFrames();
  model.rolling.hidePictureFrames();
  if (!model.peopleRolling) {
    model.rolling.pictureFrames[0] = {ini.readInt("NamePic1", "X", centreX), ini.readInt("NamePic1", "Y", centreY)};
  }

  for (Label cleared : {Label::PrizeName, Label::ItemName, Label::HonorGuest, Label::RateProgress}) {
    model.label(cleared).caption.clear();
  }
  LabelState& hint = model.label(Label::ActionHint);
  hint.caption = gbk("按空格开始抽奖");
  hint.visible = model.tick(ShowTick::ActionHint);
  model.prizePictureFile.clear();

  draw::clearFirstRunFlag(ini);
}

void saveOnExit(const base::ConfigFiles& files, const ScreenModel& model, const DrawStateForSave& draw,
                std::string_view exitTime) {
  base::IniFile ini = files.openConfig();
  base::IniBatch batch(ini);

  writeKey(ini, keys::kLastExit, exitTime);
  writeKey(ini, keys::kWindowX, model.windowPosition.x);
  writeKey(ini, keys::kWindowY, model.windowPosition.y);
  writeKey(ini, keys::kWindowWidth, model.windowSize.width);
  writeKey(ini, keys::kWindowHeight, model.windowSize.height);
  draw::storeDrawState(ini, draw);
  writeKey(ini, keys::kPositionLock, model.positionLock);
  storePictureName(ini, keys::kBackground, model.backgroundName);
  storePictureName(ini, keys::kLogo, model.logoName);
  writeKey(ini, keys::kLogoLeft, model.logo.x);
  writeKey(ini, keys::kLogoTop, model.logo.y);
  writeFrameFont(ini, "S1", model.rolling.textFont);

  for (Label which : kAllLabels) {
    const std::string_view section = labelSection(which);
    const LabelState& label = model.label(which);
    ini.writeInt(section, "Font.Charset", label.font.charset);
    ini.writeInt(section, "Font.Color", label.font.color);
    ini.writeInt(section, "Font.Size", label.font.size);
    ini.writeString(section, "Font.Name", label.font.name);
    styledtext::writeEffect(ini, section, styledtext::kLabelEffectPrefix, label.effect);
    ini.writeInt(section, "Left", label.position.x);
    ini.writeInt(section, "Top", label.position.y);
  }
  storePlaces(ini, model);
  ini.writeInt("NamePic1", "X", model.rolling.pictureFrames[0].x);
  ini.writeInt("NamePic1", "Y", model.rolling.pictureFrames[0].y);
  for (std::size_t i = 0; i < kShowTickCount; ++i) writeKey(ini, keys::kShowTicks[i], model.showTicks[i]);
  writeKey(ini, keys::kNamesPerLine, model.rolling.namesPerLine == 0 ? 5 : model.rolling.namesPerLine);
}

void storePlaces(base::IniFile& ini, const ScreenModel& model) {
  for (Label which : kPlacedLabels) {
    const LabelState& label = model.label(which);
    writePlace(ini, labelSection(which), label.position);
    if (const base::TextKey* key = titleKey(which)) writeKey(ini, *key, label.caption);
  }
  writePlace(ini, "PrizePic", model.prizePicture.position);
  writeKey(ini, keys::kPrizePictureWidth, model.prizePicture.size.width);
  writeKey(ini, keys::kPrizePictureHeight, model.prizePicture.size.height);
}

Point startButtonPosition(const Display& display, Size button) {
  return {half(display.desktop.width) - half(button.width), display.desktop.height - 60};
}

}  // namespace screen

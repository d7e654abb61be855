#include "screen/state/screen_settings.h"

#include "base/gbk.h"
#include "base/paths.h"
#include "draw/run_record.h"
#include "screen/state/background_lookup.h"
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

// The caption key of the two titles; empty for the other labels.
std::string titleKey(Label label) {
  if (label == Label::MainTitle) return gbk("主标题");
  if (label == Label::SecTitle) return gbk("副标题");
  return {};
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
  if (const std::string key = titleKey(which); !key.empty()) label.caption = ini.readString(section, key, "");
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
  const std::string& style = names::windowStyle();

  model.resolutionChanged = false;
  if (ini.readInt(style, gbk("窗体宽"), 600) != display.desktop.width) {
    model.resolutionChanged = true;
  } else if (ini.readInt(style, gbk("窗体高"), 600) != display.desktop.height) {
    model.resolutionChanged = true;
  }

  model.backgroundFile = findBackgroundPicture(files.programDir(), ini.readString(gbk("背景"), "Picture", ""));

  model.logoFile = findLogoPicture(files.programDir(), ini.readString("TitlePic", "TitlePicture", ""));
  model.logo = {ini.readInt("TitlePic", "Left", 50), ini.readInt("TitlePic", "Top", 50)};

  model.textDraw = ini.readBool(style, gbk("抽奖模式"), true);
  model.peopleRolling = ini.readBool(style, gbk("滚动模式"), true);

  for (std::size_t i = 0; i < kShowTickCount; ++i) {
    model.showTicks[i] = ini.readBool(names::screenSettings(), showTickKey(static_cast<ShowTick>(i)), true);
  }

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
    model.label(which).position = {ini.readInt(section, names::xKey(), centreX),
                                   ini.readInt(section, names::yKey(), centreY)};
  }
  model.prizePicture.position = {ini.readInt("PrizePic", names::xKey(), centreX),
                                 ini.readInt("PrizePic", names::yKey(), centreY)};
  model.prizePicture.size = {ini.readInt("PrizePic", "W", 300), ini.readInt("PrizePic", "H", 300)};

  model.positionLock = ini.readBool(names::windowStyle(), "Lock", false);
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
  const std::string& style = names::windowStyle();

  ini.writeString(gbk("程序运行情况"), gbk("上次退出时间"), exitTime);
  ini.writeInt(style, names::xKey(), model.windowPosition.x);
  ini.writeInt(style, names::yKey(), model.windowPosition.y);
  ini.writeInt(style, gbk("窗体宽"), model.windowSize.width);
  ini.writeInt(style, gbk("窗体高"), model.windowSize.height);
  ini.writeBool(style, gbk("抽奖模式"), draw.textDraw);
  ini.writeBool(style, gbk("滚动模式"), draw.peopleRolling);
  ini.writeBool(gbk("内定设置"), "Open", draw.predeterminedOpen);
  ini.writeBool(gbk("内定设置B"), "Open", draw.blacklistOpen);
  ini.writeBool(style, "Lock", model.positionLock);
  if (model.rememberedBackground.size() > 2) ini.writeString(gbk("背景"), "Picture", model.rememberedBackground);
  if (model.rememberedLogo.size() > 2) ini.writeString("TitlePic", "TitlePicture", model.rememberedLogo);
  ini.writeInt("TitlePic", "Left", model.logo.x);
  ini.writeInt("TitlePic", "Top", model.logo.y);
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
  for (Label which : kPlacedLabels) {
    const std::string_view section = labelSection(which);
    const LabelState& label = model.label(which);
    ini.writeInt(section, names::xKey(), label.position.x);
    ini.writeInt(section, names::yKey(), label.position.y);
    if (const std::string key = titleKey(which); !key.empty()) ini.writeString(section, key, label.caption);
  }

  ini.writeInt("PrizePic", names::xKey(), model.prizePicture.position.x);
  ini.writeInt("PrizePic", names::yKey(), model.prizePicture.position.y);
  ini.writeInt("PrizePic", "W", model.prizePicture.size.width);
  ini.writeInt("PrizePic", "H", model.prizePicture.size.height);
  ini.writeInt("NamePic1", "X", model.rolling.pictureFrames[0].x);
  ini.writeInt("NamePic1", "Y", model.rolling.pictureFrames[0].y);
  for (std::size_t i = 0; i < kShowTickCount; ++i) {
    ini.writeBool(names::screenSettings(), showTickKey(static_cast<ShowTick>(i)), model.showTicks[i]);
  }
  ini.writeInt("L31", "RowCountPcs", model.rolling.namesPerLine == 0 ? 5 : model.rolling.namesPerLine);
}

Point startButtonPosition(const Display& display, Size button) {
  return {half(display.desktop.width) - half(button.width), display.desktop.height - 60};
}

}  // namespace screen

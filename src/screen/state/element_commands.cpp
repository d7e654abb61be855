#include "screen/state/element_commands.h"

#include "base/file_error.h"
#include "base/gbk.h"
#include "base/paths.h"
#include "screen/state/config_keys.h"

namespace screen {

namespace fs = std::filesystem;

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool onlyBlanks(const std::string& text) {
  for (char c : text)
    if (!isBlank(c)) return false;
  return true;
}

// True when the two folders are the same one. The text comparison of the folder
// paths comes first; the file system then catches another spelling of the same
// folder, where a copy would be a copy of the file onto itself.
bool sameFolder(const fs::path& a, const fs::path& b) {
  if (a.lexically_normal() == b.lexically_normal()) return true;
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

}  // namespace

TitleEdit setTitleText(ScreenModel& model, Label title, const std::string& gbkAnswer) {
  if (onlyBlanks(gbkAnswer)) return TitleEdit::RefusedEmpty;
  std::string& caption = model.label(title).caption;
  if (caption == gbkAnswer) return TitleEdit::Unchanged;
  caption = gbkAnswer;
  return TitleEdit::Changed;
}

std::string_view emptyTitleMessage(Label title) {
  return title == Label::MainTitle ? "标题内容不可为空,如您要隐藏,请在空白处右键->画面设定,去除对应打钩"
                                   : "副标题不可为空,如您要隐藏,请在空白处右键->画面设定,去除对应打钩";
}

std::string_view titleInputCaption(Label title) { return title == Label::MainTitle ? "主标题" : "副标题"; }

void resizePrizePicture(Box& picture, PrizeResize step) {
  constexpr int kStep = 10;
  constexpr int kGrowBelow = 600;
  constexpr int kShrinkAbove = 30;
  int& side =
      (step == PrizeResize::HeightUp || step == PrizeResize::HeightDown) ? picture.size.height : picture.size.width;
  const bool grow = step == PrizeResize::HeightUp || step == PrizeResize::WidthUp;
  if (grow && side < kGrowBelow) side += kStep;
  if (!grow && side > kShrinkAbove) side -= kStep;
}

void toggleShowTick(ScreenModel& model, ShowTick tick) {
  bool& ticked = model.showTicks[static_cast<std::size_t>(tick)];
  ticked = !ticked;
  switch (tick) {
    case ShowTick::MainTitle:
      model.label(Label::MainTitle).visible = ticked;
      break;
    case ShowTick::SecTitle:
      model.label(Label::SecTitle).visible = ticked;
      break;
    case ShowTick::Logo:
      model.logoVisible = ticked;
      break;
    case ShowTick::ItemName:
      model.label(Label::ItemName).visible = ticked;
      break;
    case ShowTick::HonorGuest:
      model.label(Label::HonorGuest).visible = ticked;
      break;
    case ShowTick::PrizePicture:
      model.prizePictureVisible = ticked;
      break;
    case ShowTick::PrizeName:
      model.label(Label::PrizeName).visible = ticked;
      break;
    case ShowTick::ActionHint:
      model.label(Label::ActionHint).visible = ticked;
      break;
    case ShowTick::RateProgress:
      model.label(Label::RateProgress).visible = ticked;
      break;
    case ShowTick::StartButton:
      model.startButtonVisible = ticked;
      if (!model.textDraw) model.pictureLoadButtonVisible = ticked;
      break;
  }
}

bool applyTheme(const base::ConfigFiles& files, ScreenModel& model, const Theme& theme) {
  const fs::path picture = files.programDir() / "backpic" / theme.file;
  if (!base::isFile(picture)) return false;
  model.backgroundFile = picture;
  model.backgroundName = base::utf8ToGbk(theme.file);
  base::IniFile config = files.openConfig();
  storePictureName(config, keys::kBackground, model.backgroundName);
  return true;
}

AdoptedPicture adoptPicture(const fs::path& chosen, const fs::path& folder) {
  // The files keep GB18030 names; a name that is not UTF-8 has none, and anything
  // stored in its place would find no file at the next start.
  const std::optional<std::string> gbkName = base::tryUtf8ToGbk(chosen.filename().string());
  if (!gbkName)
    throw base::FileError(base::FileError::Kind::CannotWrite, chosen, "文件名含有无法保存的字符,请改名后再选择");
  AdoptedPicture adopted{chosen, *gbkName};
  if (sameFolder(chosen.parent_path(), folder)) return adopted;
  adopted.file = folder / chosen.filename();
  std::error_code ec;
  fs::create_directories(folder, ec);
  fs::copy_file(chosen, adopted.file, fs::copy_options::overwrite_existing, ec);
  if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, adopted.file, base::describeError(ec));
  return adopted;
}

void changeBackground(const fs::path& programDir, ScreenModel& model, const fs::path& chosen) {
  AdoptedPicture adopted = adoptPicture(chosen, programDir / "backpic");
  model.backgroundFile = adopted.file;
  model.backgroundName = adopted.gbkName;
}

void changeLogo(const fs::path& programDir, ScreenModel& model, const fs::path& chosen) {
  AdoptedPicture adopted = adoptPicture(chosen, programDir / "image");
  model.logoFile = adopted.file;
  model.logoName = adopted.gbkName;
}

}  // namespace screen

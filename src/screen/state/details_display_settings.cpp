#include "screen/state/details_display_settings.h"

#include <algorithm>

#include "base/gbk.h"
#include "screen/state/config_keys.h"

namespace screen {

namespace {

using base::gbk;

struct Sections {
  std::string perRow = gbk("评委显示设置");
  std::string photo = gbk("评委照片");
  std::string names = gbk("评委姓名");
  std::string details = gbk("评分细节");
};
const Sections& sections() {
  static const Sections names;
  return names;
}

}  // namespace

DetailsDisplaySettings loadDetailsDisplay(const base::IniFile& config, const styledtext::FontRecord& mainSubtitleFont,
                                          const styledtext::TSmoothEffect& mainSubtitleEffect) {
  const Sections& at = sections();
  DetailsDisplaySettings s;
  s.perRow = std::max(0, config.readInt(at.perRow, gbk("每行个数"), 0));
  s.photoWidth = config.readInt(at.photo, "Width", 200);
  s.photoHeight = config.readInt(at.photo, "Height", 250);
  if (s.photoWidth < 10) s.photoWidth = 200;
  if (s.photoHeight < 10) s.photoHeight = 250;
  s.nameFont.color = config.readInt(at.names, "Font.Color", 0);
  s.nameFont.size = config.readInt(at.names, "Font.Size", 20);
  s.nameFont.name = config.readString(at.names, "Font.Name", gbk("黑体"));
  s.nameFont.bold = true;
  s.showNames = config.readBool(at.names, "Show", true);
  s.subtitleText = config.readString(at.details, gbk("副标题"), gbk("评分明细"));
  s.background = readKey(config, keys::kDetailsBackground);

  styledtext::FontRecord heiti;
  heiti.name = gbk("黑体");
  s.subtitle = readCaption(config, "ScoreEvSecTitle", mainSubtitleFont, mainSubtitleEffect, 0, {50, 100});
  if (s.subtitle.font.name.empty()) s.subtitle.font.name = heiti.name;
  s.programmeLine = readCaption(config, "ScoreProNameTitel", heiti, styledtext::TSmoothEffect(), 0, {50, 200});
  // 99999 names no character set; the stored value is kept as it came.
  s.resultLine = readCaption(config, "ScoreResult", heiti, styledtext::TSmoothEffect(), 99999, {50, 300});
  for (CaptionSettings* caption : {&s.subtitle, &s.programmeLine, &s.resultLine}) {
    caption->position.x = std::max(0, caption->position.x);
    caption->position.y = std::max(0, caption->position.y);
  }
  return s;
}

void saveDetailsDisplay(base::IniFile& config, const DetailsDisplaySettings& s) {
  const Sections& at = sections();
  base::IniBatch batch(config);
  config.writeInt(at.perRow, gbk("每行个数"), s.perRow);
  config.writeInt(at.photo, "Width", s.photoWidth);
  config.writeInt(at.photo, "Height", s.photoHeight);
  config.writeInt(at.names, "Font.Color", s.nameFont.color);
  config.writeInt(at.names, "Font.Size", s.nameFont.size);
  config.writeString(at.names, "Font.Name", s.nameFont.name);
  config.writeBool(at.names, "Show", s.showNames);
  config.writeString(at.details, gbk("副标题"), s.subtitleText);
  writeKey(config, keys::kDetailsBackground, s.background);
  writeCaption(config, "ScoreResult", s.resultLine);
  writeCaption(config, "ScoreProNameTitel", s.programmeLine);
  writeCaption(config, "ScoreEvSecTitle", s.subtitle);
}

}  // namespace screen

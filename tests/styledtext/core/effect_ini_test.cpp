#include "styledtext/core/effect_ini.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace styledtext {
namespace {

using testing_support::gbk;

TEST(EffectIni, WritesTheNineteenKeysInOrderAndReadsThemBack) {
  testing_support::TestFolder folder;
  base::IniFile file(folder / "Config.ini");
  TSmoothEffect effect;
  effect.setAlpha(80);
  effect.setAngle(-45);
  effect.Shadow().setEnabled(true);
  effect.Shadow().setOffsetX(-3);
  effect.Gradual().setStyle(TGradualStyle::gsCenterToTB);
  effect.Gradual().setStartColor(255);
  effect.setSpray(7);
  writeEffect(file, "MainTitle", kLabelEffectPrefix, effect);

  const std::string text = folder.read("Config.ini");
  const char* order[] = {"Alpha=80",
                         "Angle=-45",
                         "Blur=0",
                         "Gradual.Enabled=0",
                         "Gradual.EndColor=0",
                         "Gradual.StartColor=255",
                         "Gradual.Style=5",
                         "HorzMirror=0",
                         "VertMirror=0",
                         "Noise=0",
                         "Outline=0",
                         "Shadow.Alpha=70",
                         "Shadow.Blur=80",
                         "Shadow.Color=4473924",
                         "Shadow.Enabled=1",
                         "Shadow.OffsetX=-3",
                         "Shadow.OffsetY=2",
                         "Spray=7",
                         "Texture.Enabled=0"};
  std::size_t pos = 0;
  for (const char* entry : order) {
    const std::size_t found = text.find(std::string("Effect.FontEffect.") + entry + "\r\n", pos);
    ASSERT_NE(found, std::string::npos) << entry;
    pos = found;
  }

  const TSmoothEffect back = readEffect(file, "MainTitle", kLabelEffectPrefix, EffectDefaults::mainWindow());
  EXPECT_TRUE(back == effect);
}

TEST(EffectIni, MissingKeysTakeTheCallersDefaultsAndTheMarkerIsClamped) {
  testing_support::TestFolder folder;
  folder.write("Config.ini", "[NameText]\r\nText.FontEffect.Blur=12\r\nText.FontEffect.Noise=abc\r\n");
  base::IniFile file(folder / "Config.ini");

  const TSmoothEffect main = readEffect(file, "NameText", kScrollTextEffectPrefix, EffectDefaults::mainWindow());
  EXPECT_EQ(main.Blur(), 12);
  EXPECT_EQ(main.Noise(), 5);  // not a number: the default
  EXPECT_EQ(main.Shadow().Blur(), 81);
  EXPECT_EQ(main.Gradual().Style(), TGradualStyle::gsTopToBottom);
  EXPECT_FALSE(main.Shadow().Enabled());

  const TSmoothEffect marked = readEffect(file, "NameText", kScrollTextEffectPrefix, EffectDefaults::missingMarker());
  EXPECT_EQ(marked.Alpha(), 100);
  EXPECT_EQ(marked.Angle(), 360);
  EXPECT_EQ(marked.Noise(), 255);
  EXPECT_EQ(marked.Shadow().OffsetX(), 20);
  EXPECT_EQ(marked.Shadow().Color(), 99999);
  EXPECT_EQ(marked.Gradual().Style(), TGradualStyle::gsCenterToTB);
  EXPECT_TRUE(marked.Texture().Enabled());
}

TEST(EffectIni, FontKeysWithPrefixAndEmptyNameKeepingTheFace) {
  testing_support::TestFolder folder;
  base::IniFile file(folder / "Config.ini");
  FontRecord font{gbk("黑体"), 36, 255, 134};
  writeFont(file, "NameText", "Text.", font, {FontKey::Name, FontKey::Charset, FontKey::Color, FontKey::Size});
  EXPECT_NE(folder.read("Config.ini").find(gbk("Text.Font.Name=黑体\r\nText.Font.Charset=134\r\n")), std::string::npos);
  EXPECT_EQ(readFont(file, "NameText", "Text.", FontRecord{}), font);

  file.writeString("NameText", "Text.Font.Name", "");
  FontRecord current{gbk("宋体"), 99999, 99999, 99999};
  const FontRecord read = readFont(file, "NameText", "Text.", current);
  EXPECT_EQ(read.name, gbk("宋体"));
  EXPECT_EQ(read.size, 36);
  EXPECT_EQ(readFont(file, "Other", "", current), current);
}

TEST(EffectModel, SettersNotifyOnlyOnRealChangesAndCopiesKeepEverything) {
  TSmoothEffect effect;
  int changes = 0;
  effect.setOnChange([&] { ++changes; });
  effect.setAlpha(100);
  effect.Shadow().setAlpha(70);
  EXPECT_EQ(changes, 0);
  effect.Shadow().setAlpha(40);
  effect.setBlur(500);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(effect.Blur(), 100);
  effect.Texture().setPicture(std::make_shared<Image24>(2, 2, Rgb{1, 2, 3}));

  const TSmoothEffect copy(effect);
  EXPECT_EQ(copy.Shadow().Alpha(), 40);
  EXPECT_EQ(copy.Texture().Picture(), effect.Texture().Picture());

  TSmoothEffect other;
  other.Gradual().setEnabled(true);
  changes = 0;
  effect.assign(other);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(effect == other);
  effect.assign(other);
  EXPECT_EQ(changes, 1);
  other.setAlpha(5);  // the source's changes do not reach the copy's owner
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace styledtext

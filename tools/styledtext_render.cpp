// Draws a text with a font and any effect keys into a PNG, so that anyone can
// look at an effect:
//   styledtext_render --text 幸运大抽奖 --font 黑体 --size 48
//     --key Shadow.Enabled=1 --key Gradual.Enabled=1 out.png
// Keys are the stored effect keys without their prefix; values as in the files
// (colours red + 256 × green + 65536 × blue). Keys not given keep the effect's
// own defaults. --color sets the font colour, --back the colour beneath,
// --quality 1 … 4 the supersampling, --italic and --bold the style.
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/ini_file.h"
#include "base/text_file.h"
#include "platform/font_substitutions.h"
#include "styledtext/core/effect_ini.h"
#include "styledtext/core/smooth_renderer.h"
#include "styledtext/qt_rasteriser.h"

using namespace styledtext;

namespace {

EffectDefaults defaultsOf(const TSmoothEffect& e) {
  EffectDefaults d;
  d.alpha = e.Alpha();
  d.angle = e.Angle();
  d.blur = e.Blur();
  d.gradualEnabled = e.Gradual().Enabled();
  d.gradualEndColor = e.Gradual().EndColor();
  d.gradualStartColor = e.Gradual().StartColor();
  d.gradualStyle = static_cast<int>(e.Gradual().Style());
  d.horzMirror = e.HorzMirror();
  d.vertMirror = e.VertMirror();
  d.noise = e.Noise();
  d.outline = e.Outline();
  d.shadowAlpha = e.Shadow().Alpha();
  d.shadowBlur = e.Shadow().Blur();
  d.shadowColor = e.Shadow().Color();
  d.shadowEnabled = e.Shadow().Enabled();
  d.shadowOffsetX = e.Shadow().OffsetX();
  d.shadowOffsetY = e.Shadow().OffsetY();
  d.spray = e.Spray();
  d.textureEnabled = e.Texture().Enabled();
  return d;
}

int usage() {
  std::fprintf(stderr,
               "usage: styledtext_render --text TEXT [--font FACE] [--size POINTS] [--color N] [--back N]\n"
               "       [--quality 1-4] [--bold] [--italic] [--key NAME=VALUE]... OUT.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  platform::installFontSubstitutions();

  QString text = QStringLiteral("幸运大抽奖");
  QString output;
  FontRecord font;
  font.name = toGbk(QStringLiteral("黑体"));
  font.size = 48;
  font.color = 0x00D7FF;  // gold
  int back = 0x401010;    // dark blue
  TSmoothQuality quality = TSmoothQuality::sqNormal;
  std::string keys = "[Render]\r\n";

  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--text" && hasValue) {
      text = args[++i];
    } else if (a == "--font" && hasValue) {
      font.name = toGbk(args[++i]);
    } else if (a == "--size" && hasValue) {
      font.size = args[++i].toInt();
    } else if (a == "--color" && hasValue) {
      font.color = args[++i].toInt();
    } else if (a == "--back" && hasValue) {
      back = args[++i].toInt();
    } else if (a == "--quality" && hasValue) {
      const int k = args[++i].toInt();
      quality = k >= 4   ? TSmoothQuality::sqHigh
                : k == 3 ? TSmoothQuality::sqNormal
                : k == 2 ? TSmoothQuality::sqLow
                         : TSmoothQuality::sqNone;
    } else if (a == "--bold") {
      font.bold = true;
    } else if (a == "--italic") {
      font.italic = true;
    } else if (a == "--key" && hasValue) {
      keys += "Effect.FontEffect." + toGbk(args[++i]) + "\r\n";
    } else if (!a.startsWith("--") && output.isEmpty()) {
      output = a;
    } else {
      return usage();
    }
  }
  if (output.isEmpty()) return usage();

  const auto iniPath =
      std::filesystem::temp_directory_path() / ("styledtext_render_" + std::to_string(getpid()) + ".ini");
  base::writeFileAtomically(iniPath, keys);
  const base::IniFile ini(iniPath);
  const TSmoothEffect effect = readEffect(ini, "Render", kLabelEffectPrefix, defaultsOf(TSmoothEffect()));
  std::filesystem::remove(iniPath);

  QtTextRasteriser rasteriser;
  SmoothRenderer renderer(rasteriser);
  const std::string gbkText = toGbk(text);
  const TextExtent box = renderer.measure(gbkText, font, effect, quality);
  constexpr int kMargin = 20;
  Image24 canvas(box.width + 2 * kMargin, box.height + 2 * kMargin, rgbOf(back));
  renderer.draw(Canvas{canvas, true}, kMargin, kMargin, gbkText, font, effect, quality);
  if (!toQImage(canvas).save(output, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", output.toLocal8Bit().constData());
    return 1;
  }
  std::printf("%s: %d x %d text box\n", output.toLocal8Bit().constData(), box.width, box.height);
  return 0;
}

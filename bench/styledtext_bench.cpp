// Figures for styled text: a full-width main title rendered at k = 3 with
// shadow, gradient and blur, with the program's rasteriser (large glyphs filled
// one by one) and, as the baseline in the same run, with the whole text filled as
// one path (as drawText fills it); repainting a transparent label over a background,
// run through the pipeline and from the cached layer; and one scroll step of a
// 600 × 400 box holding 200 lines.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/font_substitutions.h"
#include "styledtext/TSmoothLabel.h"
#include "styledtext/TSmoothScrollText.h"
#include "styledtext/qt_rasteriser.h"

using namespace styledtext;

namespace {

FontRecord titleFont() {
  FontRecord font;
  font.name = toGbk(QStringLiteral("黑体"));
  font.size = 36;  // 48 pixels
  font.color = 0x00D7FF;
  return font;
}

// About 1900 pixels wide at 48 pixels.
QString titleText() {
  return QStringLiteral("幸运大抽奖二零二六年度盛典暨优秀员工表彰大会现场抽奖环节正在进行请大家耐心等待好运");
}

TSmoothEffect titleEffect() {
  TSmoothEffect e;
  e.setBlur(4);
  e.Shadow().setEnabled(true);
  e.Shadow().setBlur(81);
  e.Shadow().setOffsetX(3);
  e.Shadow().setOffsetY(3);
  e.Gradual().setEnabled(true);
  e.Gradual().setStyle(TGradualStyle::gsTopToBottom);
  e.Gradual().setStartColor(0x00FFFF);
  e.Gradual().setEndColor(0x0080FF);
  return e;
}

void titleRender(benchmark::State& state, OutlineFill fill) {
  QtTextRasteriser rasteriser(fill);
  SmoothRenderer renderer(rasteriser);
  const std::string text = toGbk(titleText());
  const TSmoothEffect effect = titleEffect();
  const TextExtent box = renderer.measure(text, titleFont(), effect);
  Image24 canvas(box.width, box.height, Rgb{20, 20, 80});
  for (auto _ : state) {
    renderer.draw(Canvas{canvas, true}, 0, 0, text, titleFont(), effect);
    benchmark::DoNotOptimize(canvas.row(0));
  }
  state.counters["width"] = box.width;
  state.counters["height"] = box.height;
}
void BM_TitleRender(benchmark::State& state) { titleRender(state, OutlineFill::GlyphByGlyph); }
BENCHMARK(BM_TitleRender)->Unit(benchmark::kMillisecond);
void BM_TitleRender_Baseline_WholeTextOnePath(benchmark::State& state) { titleRender(state, OutlineFill::WholeText); }
BENCHMARK(BM_TitleRender_Baseline_WholeTextOnePath)->Unit(benchmark::kMillisecond);

QImage backgroundFor(const TSmoothLabel& label) {
  QImage image(label.size(), QImage::Format_RGB888);
  image.fill(QColor(20, 20, 80));
  return image;
}

void setUpTitleLabel(TSmoothLabel& label) {
  label.beginUpdate();
  label.setTransparent(true);
  label.setCaption(titleText());
  label.setSmoothFont(titleFont());
  label.FontEffect().assign(titleEffect());
  label.endUpdate();
}

void BM_TransparentRepaintEveryTime(benchmark::State& state) {
  TSmoothLabel label;
  setUpTitleLabel(label);
  int generation = 0;
  // A backdrop that differs in one pixel each time forces the whole pipeline,
  // as a label without the cache would run it at every paint.
  label.setBackdropProvider([&](const TSmoothLabel& l) {
    QImage image = backgroundFor(l);
    image.setPixelColor(0, 0, QColor(generation & 0xFF, 0, 0));
    return image;
  });
  for (auto _ : state) {
    ++generation;
    benchmark::DoNotOptimize(label.composedImage().constBits());
  }
  state.counters["renders"] = label.renderCount();
}
BENCHMARK(BM_TransparentRepaintEveryTime)->Unit(benchmark::kMillisecond);

void BM_TransparentRepaintUnchanged(benchmark::State& state) {
  TSmoothLabel label;
  setUpTitleLabel(label);
  label.setBackdropProvider(backgroundFor);
  label.composedImage();
  const int rendersBefore = label.renderCount();
  for (auto _ : state) benchmark::DoNotOptimize(label.composedImage().constBits());
  state.counters["renders"] = label.renderCount() - rendersBefore;
}
BENCHMARK(BM_TransparentRepaintUnchanged)->Unit(benchmark::kMicrosecond);

void BM_CopyLabelPixels(benchmark::State& state) {
  TSmoothLabel label;
  setUpTitleLabel(label);
  const QImage source = backgroundFor(label);
  for (auto _ : state) {
    QImage copy = source.copy();
    benchmark::DoNotOptimize(copy.bits());
  }
}
BENCHMARK(BM_CopyLabelPixels)->Unit(benchmark::kMicrosecond);

TScrollTextParam twoHundredLines() {
  TScrollTextParam text;
  for (int i = 0; i < 200; ++i)
    text.Lines.push_back(toGbk(QStringLiteral("第%1名  张三丰  李小龙  王大锤").arg(i + 1)));
  text.Font = titleFont();
  text.Font.size = 16;
  text.FontEffect.Shadow().setEnabled(true);
  text.FontEffect.setBlur(4);
  return text;
}

void BM_ScrollStep(benchmark::State& state) {
  TSmoothScrollText scroll;
  scroll.resize(600, 400);
  scroll.setRepeatDelay(0);
  scroll.setScrollDelay(65535);
  scroll.setText(twoHundredLines());
  for (auto _ : state) {
    scroll.scrollTick();
    benchmark::DoNotOptimize(scroll.frameImage().constBits());
  }
  state.counters["image_height"] = scroll.textImage().height();
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMicrosecond);

void BM_ScrollRebuild(benchmark::State& state) {
  TSmoothScrollText scroll;
  scroll.setAutoUpdate(false);
  scroll.resize(600, 400);
  scroll.setText(twoHundredLines());
  for (auto _ : state) scroll.rebuild();
}
BENCHMARK(BM_ScrollRebuild)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

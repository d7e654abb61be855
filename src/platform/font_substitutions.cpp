#include "platform/font_substitutions.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

namespace platform {

namespace {
const QString kSans = QStringLiteral("Noto Sans CJK SC");
const QString kSerif = QStringLiteral("Noto Serif CJK SC");
const QString kKai = QStringLiteral("AR PL UKai CN");
const QString kLatin = QStringLiteral("DejaVu Sans");
const QString kMono = QStringLiteral("Noto Sans Mono CJK SC");
// HanaMin (fonts-hanazono) covers the CJK extensions A to F, where names hold
// characters the Noto and AR PL faces lack (𠀀, 𪚥 …): every face falls back to
// it last, so such a name never shows as boxes.
const QStringList kRare = {QStringLiteral("HanaMinA"), QStringLiteral("HanaMinB")};

QStringList withRare(QStringList families) { return families + kRare; }
}  // namespace

QStringList rareCharacterFamilies() { return kRare; }

QString fixedPitchFace(const QString& face) {
  static const QStringList fixedPitch = {QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("宋体"),
                                         QStringLiteral("SimSun"), QStringLiteral("新宋体")};
  return fixedPitch.contains(face, Qt::CaseInsensitive) ? kMono : face;
}

std::vector<std::pair<QString, QStringList>> windowsFaceMap() {
  return {
      {QStringLiteral("黑体"), {kSans}},
      {QStringLiteral("SimHei"), {kSans}},
      {QStringLiteral("宋体"), {kSerif, kSans}},
      {QStringLiteral("SimSun"), {kSerif, kSans}},
      {QStringLiteral("新宋体"), {kSerif, kSans}},
      {QStringLiteral("楷体_GB2312"), {kKai, kSans}},
      {QStringLiteral("楷体"), {kKai, kSans}},
      {QStringLiteral("微软雅黑"), {kSans}},
      {QStringLiteral("隶书"), {kKai, kSans}},
      {QStringLiteral("Arial Black"), {kLatin, kSans}},
      {QStringLiteral("Arial"), {kLatin, kSans}},
      {QStringLiteral("MS Sans Serif"), {kLatin, kSans}},
      {QStringLiteral("Verdana"), {kLatin, kSans}},
      {QStringLiteral("Tahoma"), {kLatin, kSans}},
  };
}

void installFontSubstitutions() {
  for (const auto& [face, families] : windowsFaceMap()) QFont::insertSubstitutions(face, withRare(families));
  // Faces that no map names (and an empty face) still get Chinese glyphs.
  QFont::insertSubstitutions(QStringLiteral("Sans Serif"), withRare({kSans}));
  // The faces mapped to, when named directly (the application font, a face
  // chosen in the font dialog), fall back to the rare characters' face too.
  for (const QString& family : {kSans, kSerif, kKai, kLatin, kMono}) QFont::insertSubstitutions(family, kRare);
  if (QGuiApplication::instance()) {
    QFont font(kSans);
    font.setPointSize(10);
    QGuiApplication::setFont(font);
  }
}

}  // namespace platform

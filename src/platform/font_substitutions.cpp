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
}  // namespace

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
  for (const auto& [face, families] : windowsFaceMap()) QFont::insertSubstitutions(face, families);
  // Faces that no map names (and an empty face) still get Chinese glyphs.
  QFont::insertSubstitution(QStringLiteral("Sans Serif"), kSans);
  if (QGuiApplication::instance()) {
    QFont font(kSans);
    font.setPointSize(10);
    QGuiApplication::setFont(font);
  }
}

}  // namespace platform

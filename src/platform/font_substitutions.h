#pragma once
// The data files name Windows font faces (黑体, 宋体, 楷体_GB2312, Arial Black …).
// At start-up each is mapped to installed faces that carry the Chinese glyphs,
// so no caption ever renders as boxes.
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace platform {

// Face name of the data files -> installed families, first choice first.
std::vector<std::pair<QString, QStringList>> windowsFaceMap();

// The face to draw text in that is padded to columns with blanks (a Chinese
// character two blanks wide): 黑体 and 宋体 were fixed-pitch faces where those
// files were made, so they map to a fixed-pitch CJK face, whose Latin letters are
// exactly half as wide as a Chinese character. Other faces are returned as they are.
QString fixedPitchFace(const QString& face);
// The faces every face falls back to last, for the characters of the CJK
// extensions that the mapped faces lack.
QStringList rareCharacterFamilies();

// Registers the substitutions with QFont and sets a CJK-capable application font.
void installFontSubstitutions();

}  // namespace platform

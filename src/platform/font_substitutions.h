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

// The faces every face falls back to last, for the characters of the CJK
// extensions that the mapped faces lack.
QStringList rareCharacterFamilies();

// Registers the substitutions with QFont and sets a CJK-capable application font.
void installFontSubstitutions();

}  // namespace platform

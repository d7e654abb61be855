#pragma once
// Text typed into the roster editor or its generator, as the roster's bytes.
// QString::toUtf8 would turn half a character (a lone surrogate) into "?", which
// would then be saved as a name; such text is refused instead.
#include <QString>
#include <string>

namespace dialogs {

// draw::editorToGbk of the text (escaped bytes come back as they were). Raises
// base::UnstorableText, naming the text, when it holds half a character.
std::string editorBytes(const QString& text);

}  // namespace dialogs

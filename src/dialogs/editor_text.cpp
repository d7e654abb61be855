#include "dialogs/editor_text.h"

#include "draw/roster_edit.h"
#include "platform/qt_gbk.h"

namespace dialogs {

std::string editorBytes(const QString& text) {
  if (!platform::isStorable(text)) platform::toGbk(text);  // raises, naming the text
  return draw::editorToGbk(text.toStdString());
}

}  // namespace dialogs

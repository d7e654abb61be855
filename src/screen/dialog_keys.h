#pragma once
// What Enter does in a setup window. Qt makes the first push button of a dialog
// its default when none is named, so Enter on a check box or in a number field
// would run whatever button happens to come first (增加奖项, 导入图片, 内定>>),
// after the window may already have written the event's files. Each window names
// its default here; one without names none, and Enter outside its grids does nothing.
class QAbstractItemView;
class QDialog;
class QPushButton;

namespace screen {

// Makes `button` what Enter presses in `dialog` wherever the focus is, except on
// another button, which Enter presses as a click. With a null button Enter
// presses no button at all, not even a focused one.
void setDefaultButton(QDialog& dialog, QPushButton* button);

// Takes the text of a cell editor still open in `view` into its cell and closes
// the editor, as leaving the cell would; nothing when no editor is open. Every
// save of a grid runs this first, so a value typed and not yet confirmed is saved.
void commitOpenEditor(QAbstractItemView& view);

}  // namespace screen

#include "dialogs/TnameList.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextCursor>

#include "base/paths.h"
#include "base/text_file.h"
#include "dialogs/TForm2.h"
#include "dialogs/editor_text.h"
#include "dialogs/roster_import.h"
#include "dialogs/roster_print.h"
#include "dialogs/sheet_roster_import.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_service.h"
#include "screen/window_fit.h"
#include "sheets/sheet_file.h"
#include "ui_TnameList.h"

namespace dialogs {

namespace fs = std::filesystem;

namespace {

const QString kTextFilter = QStringLiteral("文本文件(*.txt)");
// The import also reads the spreadsheets that rosters come in; text stays first.
const QString kImportFilter = kTextFilter + QStringLiteral(";;Excel 工作簿(*.xlsx *.xls);;CSV 表格(*.csv)");

QString editorText(const draw::Lines& lines) {
  std::string joined;
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  joined.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += lines[i];
  }
  const std::string utf8 = draw::gbkToEditor(joined);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

fs::path pathOf(const QString& name) { return fs::path(name.toStdU16String()); }

// A wait cursor while a whole text of event size is laid out again (about a
// second for 100,000 lines), so the operator sees the program is working.
class WaitCursor {
 public:
  explicit WaitCursor(bool large) : on_(large) {
    if (on_) QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~WaitCursor() {
    if (on_) QApplication::restoreOverrideCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool on_;
};

constexpr std::size_t kLargeText = 20000;  // lines

}  // namespace

TnameList::TnameList(fs::path programDir, screen::DialogService& dialogs, draw::RandomSource& random, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TnameList>()),
      programDir_(std::move(programDir)),
      dialogs_(dialogs),
      random_(random) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  layout()->setMenuBar(ui->MainMenu1);
  QFont text(QStringLiteral("宋体"));
  text.setPixelSize(16);
  ui->Memo1->setFont(text);
  ui->Label_Row->setEditor(ui->Memo1);

  choosePrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
  };
  runGenerator = [this] {
    TForm2 generator(dialogs_, this);
    if (generator.exec() != QDialog::Accepted) return draw::Lines{};
    return generator.lines();
  };

  const std::pair<QAction*, void (TnameList::*)()> commands[] = {
      {ui->N2, &TnameList::N2Click},   {ui->N3, &TnameList::N3Click},   {ui->N21, &TnameList::N21Click},
      {ui->N12, &TnameList::N12Click}, {ui->N13, &TnameList::N13Click}, {ui->N14, &TnameList::N14Click},
      {ui->N16, &TnameList::N16Click}, {ui->N17, &TnameList::N17Click}, {ui->N7, &TnameList::N7Click},
      {ui->N18, &TnameList::N18Click}, {ui->N19, &TnameList::N19Click}, {ui->N20, &TnameList::N20Click},
      {ui->N22, &TnameList::N22Click}, {ui->N23, &TnameList::N23Click}};
  for (const auto& [item, command] : commands) connect(item, &QAction::triggered, this, command);

  load();
  connect(ui->Memo1, &QPlainTextEdit::textChanged, this, [this] { modified_ = true; });
}

TnameList::~TnameList() = default;

QPlainTextEdit* TnameList::memo() const { return ui->Memo1; }

fs::path TnameList::rosterPath() const { return base::findIgnoringCase(programDir_, "NameList.txt"); }

void TnameList::load() {
  draw::Lines lines;
  bool found = false;
  // A roster that exists but cannot be read opens empty rather than numbered,
  // so that a save on close cannot pass the numbers off as the roster.
  const bool readable = dialogs_.reportFailures([&] {
    if (auto bytes = base::readFileIfExists(rosterPath())) {
      lines = base::splitLines(*bytes);
      found = true;
    }
  });
  if (!found && readable) {
    for (int k = 1; k <= 36; ++k) lines.push_back(std::to_string(k));
    lines.emplace_back();
  }
  {
    const WaitCursor wait(lines.size() > kLargeText);
    ui->Memo1->setPlainText(editorText(lines));
  }
  modified_ = false;
  tellUndecodable(lines);
}

void TnameList::tellUndecodable(const draw::Lines& lines) {
  const std::size_t count = draw::countLinesWithUndecodableBytes(lines);
  if (count == 0) return;
  dialogs_.message(QStringLiteral("名单中有%1行含有无法识别的文字(显示为方框),保存时会原样保留。").arg(count));
}

draw::Lines TnameList::lines() const { return base::splitEditorLines(editorBytes(ui->Memo1->toPlainText())); }

void TnameList::replaceLines(const draw::Lines& lines) {
  const WaitCursor wait(lines.size() > kLargeText);
  QTextCursor cursor(ui->Memo1->document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(editorText(lines));
  modified_ = true;
}

void TnameList::appendLines(const draw::Lines& added) {
  if (added.empty()) return;
  if (ui->Memo1->document()->isEmpty()) {
    replaceLines(added);
    return;
  }
  QTextCursor cursor(ui->Memo1->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QStringLiteral("\n") + editorText(added));
  modified_ = true;
}

void TnameList::transform(const std::function<void(draw::Lines&)>& operation) {
  dialogs_.reportFailures([&] {
    draw::Lines current = lines();
    operation(current);
    replaceLines(current);
  });
}

bool TnameList::save(const fs::path& file) {
  return dialogs_.reportFailures([&] { base::rewriteLines(file, lines()); });
}

QString TnameList::exportName(const QString& chosen) {
  return chosen.endsWith(QStringLiteral(".txt"), Qt::CaseSensitive) ? chosen : chosen + QStringLiteral(".txt");
}

// ---- 数据处理 ----

void TnameList::N2Click() { replaceLines({}); }

void TnameList::N3Click() {
  const QString chosen =
      dialogs_.openFileName(QStringLiteral("从文件导入"), platform::toQString(programDir_), kImportFilter);
  if (chosen.isEmpty()) return;
  if (sheets::sheetKindOf(chosen) != sheets::SheetKind::None) {
    const std::optional<QStringList> rows = importSheetRoster(chosen, dialogs_);
    if (!rows) return;
    draw::Lines fromSheet;
    fromSheet.reserve(static_cast<std::size_t>(rows->size()));
    for (const QString& row : *rows) fromSheet.push_back(platform::toGbk(row));
    replaceLines(fromSheet);
    return;
  }
  std::optional<draw::Lines> imported;
  if (!dialogs_.reportFailures([&] { imported = importRosterFile(pathOf(chosen), dialogs_); }) || !imported) return;
  replaceLines(*imported);
  tellUndecodable(*imported);
}

void TnameList::N21Click() { appendLines(runGenerator()); }

void TnameList::N12Click() {
  // What the close would save: without empty lines at the end, so that closing
  // right after finds nothing left to save.
  // A text the roster file cannot hold is refused before anything changes.
  draw::Lines current;
  if (!dialogs_.reportFailures([&] { current = lines(); })) return;
  if (draw::dropTrailingEmptyLines(current)) replaceLines(current);
  if (!save(rosterPath())) return;
  modified_ = false;
  // The roster file is what the draw reads: it has changed as after a save on close.
  changedMark_ = true;
}

void TnameList::N13Click() {
  const QString chosen =
      dialogs_.saveFileName(QStringLiteral("汇出到文件"), platform::toQString(programDir_), kTextFilter);
  if (chosen.isEmpty()) return;
  save(pathOf(exportName(chosen)));
}

void TnameList::N14Click() {
  QPrinter printer;
  if (!choosePrinter(printer)) return;
  QStringList text;
  if (!dialogs_.reportFailures([&] {
        for (const std::string& line : lines()) text << QString::fromUtf8(draw::gbkToEditor(line));
      }))
    return;
  printRoster(printer, text, ui->Memo1->font());
}

// ---- 名单处理 ----

void TnameList::N16Click() { transform(draw::removeEmptyLines); }
void TnameList::N17Click() { transform(draw::trimLines); }
void TnameList::N7Click() { transform(draw::removeSpaces); }

void TnameList::N18Click() {
  draw::Lines current;
  if (!dialogs_.reportFailures([&] { current = lines(); })) return;
  const draw::Lines removed = draw::removeDuplicates(current);
  dialogs_.message(QString::fromUtf8(draw::gbkToEditor(draw::duplicatesMessage(removed))));
  replaceLines(current);
}

void TnameList::N19Click() { transform(draw::equalizeLengths); }
void TnameList::N20Click() {
  transform([this](draw::Lines& l) { draw::shuffleLines(l, random_); });
}

void TnameList::N22Click() {
  // Cancelling gives an empty prefix: the lines stay, the text counts as changed.
  const QString prefix =
      dialogs_.text(QStringLiteral("添加前缀"), QStringLiteral("请输入前缀字符"), QString()).value_or(QString());
  transform([&prefix](draw::Lines& l) { draw::addPrefix(l, editorBytes(prefix)); });
}

void TnameList::N23Click() {
  // The suffix box carries the prefix box's caption and prompt, as operators know it.
  const QString suffix =
      dialogs_.text(QStringLiteral("添加前缀"), QStringLiteral("请输入前缀字符"), QString()).value_or(QString());
  transform([&suffix](draw::Lines& l) { draw::addSuffix(l, editorBytes(suffix)); });
}

// ---- closing ----

bool TnameList::mayClose() {
  draw::Lines current;
  if (!dialogs_.reportFailures([&] { current = lines(); })) return false;
  if (draw::dropTrailingEmptyLines(current)) replaceLines(current);
  if (!modified_) return true;
  switch (dialogs_.choice(QStringLiteral("名单已被修改,是否保存?"), QStringLiteral("提示"))) {
    case screen::DialogService::Choice::Yes:
      // A failed save keeps the window open, so the text is not lost.
      if (!save(rosterPath())) return false;
      changedMark_ = true;
      return true;
    case screen::DialogService::Choice::No:
      return true;
    case screen::DialogService::Choice::Cancel:
      return false;
  }
  return false;
}

void TnameList::closeEvent(QCloseEvent* event) {
  if (mayClose())
    event->accept();
  else
    event->ignore();
}

void TnameList::reject() {
  if (mayClose()) QDialog::reject();
}

}  // namespace dialogs

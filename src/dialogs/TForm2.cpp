#include "dialogs/TForm2.h"

#include "dialogs/editor_text.h"
#include "screen/dialog_keys.h"
#include "screen/dialog_service.h"
#include "screen/digit_field.h"
#include "screen/window_fit.h"
#include "ui_TForm2.h"

namespace dialogs {

TForm2::TForm2(screen::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TForm2>()), dialogs_(dialogs) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  screen::setDefaultButton(*this, ui->Button1);
  auto* digits = new screen::DigitFieldFilter(dialogs_, this);
  for (QLineEdit* field : {ui->Edit3, ui->Edit4, ui->Edit6}) digits->attach(field);
  connect(ui->Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TForm2::~TForm2() = default;

void TForm2::Button1Click() {
  draw::NumberedRequest request;
  if (!dialogs_.reportFailures([&] {
        request.prefix = editorBytes(ui->Edit1->text());
        request.suffix = editorBytes(ui->Edit2->text());
      }))
    return;
  request.first = ui->Edit3->text().toStdString();
  request.last = ui->Edit4->text().toStdString();
  request.skip = ui->Edit6->text().toStdString();
  request.zeroFill = ui->CheckBox1->isChecked();
  draw::NumberedResult result;
  if (!dialogs_.reportFailures([&] { result = draw::generateNumbered(request); })) return;
  switch (result.refusal) {
    case draw::NumberedRefusal::FirstEmpty:
      dialogs_.message(QStringLiteral("起始序号不能为空"));
      return;
    case draw::NumberedRefusal::LastEmpty:
      dialogs_.message(QStringLiteral("截止序号不能为空"));
      return;
    case draw::NumberedRefusal::LastBeforeFirst:
      dialogs_.message(QStringLiteral("截止序号不能小于起始序号"));
      return;
    case draw::NumberedRefusal::TooMany:
      dialogs_.message(
          QStringLiteral("一次最多生成%1笔名单,请缩小起始与截止序号的范围").arg(draw::kMostGeneratedLines));
      return;
    case draw::NumberedRefusal::None:
      break;
  }
  lines_ = std::move(result.lines);
  accept();
}

}  // namespace dialogs

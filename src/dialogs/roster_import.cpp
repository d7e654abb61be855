#include "dialogs/roster_import.h"

#include "base/gbk.h"
#include "base/text_check.h"
#include "base/text_file.h"
#include "platform/qt_gbk.h"

namespace dialogs {

namespace {

// Lines shown of each reading when the operator chooses.
constexpr std::size_t kShownLines = 5;

QString firstLines(const std::vector<std::string>& gbkLines) {
  QString shown;
  for (std::size_t i = 0; i < gbkLines.size() && i < kShownLines; ++i)
    shown += QStringLiteral("    ") + platform::fromGbk(base::excerptForMessage(gbkLines[i], 40)) + u'\n';
  return shown;
}

}  // namespace

std::optional<draw::Lines> importRosterFile(const std::filesystem::path& file, screen::DialogService& dialogs) {
  const std::string bytes = base::readFile(file);
  const QString name = platform::toQString(file.filename());
  if (base::findTextProblem(bytes) == base::TextProblem::ControlBytes) {
    dialogs.message(name + QStringLiteral(" 不是文本文件(含有NUL等不是文字的内容),无法导入。\n"
                                          "只能导入文本文件(.txt)、Excel 工作簿(.xlsx、.xls)或 CSV 表格(.csv)。"));
    return std::nullopt;
  }
  switch (base::importEncoding(bytes)) {
    case base::ImportEncoding::Gb18030:
      return base::splitLines(bytes);
    case base::ImportEncoding::Utf8:
      return base::splitLines(base::utf8FileToGbk(bytes));
    case base::ImportEncoding::Either:
      break;
  }
  const draw::Lines asUtf8 = base::splitLines(base::utf8FileToGbk(bytes));
  const draw::Lines asGbk = base::splitLines(bytes);
  const QString question = name + QStringLiteral(" 可能是UTF-8编码,也可能是GBK编码。\n\n按UTF-8读取:\n") +
                           firstLines(asUtf8) + QStringLiteral("\n按GBK读取:\n") + firstLines(asGbk) +
                           QStringLiteral("\n按UTF-8读取吗?(选“否”按GBK读取)");
  switch (dialogs.choice(question, QStringLiteral("导入名单"))) {
    case screen::DialogService::Choice::Yes:
      return asUtf8;
    case screen::DialogService::Choice::No:
      return asGbk;
    case screen::DialogService::Choice::Cancel:
      break;
  }
  return std::nullopt;
}

}  // namespace dialogs

#pragma once
// The roster editor of the text draw ("人员名单"): a plain text in which every
// line is one roster entry, with the list operations, import, export, printing
// and the generator in its menu. It edits NameList.txt of the program folder;
// on close it asks whether to save, and a save there is what sets the main
// window's changed mark (read through changedMark()).
//
// The text keeps the roster's bytes: a byte that is not GBK shows as a private
// character and goes back to the file unchanged (draw::gbkToEditor).
#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>

#include "draw/random_source.h"
#include "draw/roster_edit.h"

class QPlainTextEdit;
class QPrinter;

namespace Ui {
class TnameList;
}
namespace screen {
class DialogService;
}

namespace dialogs {

class TnameList : public QDialog {
  Q_OBJECT

 public:
  TnameList(std::filesystem::path programDir, screen::DialogService& dialogs, draw::RandomSource& random,
            QWidget* parent = nullptr);
  ~TnameList() override;

  // True after the operator saved (保存 or on close): the draw must reload the roster.
  bool changedMark() const { return changedMark_; }
  // Set by every change of the text since opening or the last 保存.
  bool modified() const { return modified_; }

  // The text as the roster's lines: every line of the editor, the last one too.
  // Raises base::UnstorableText for text the file cannot hold.
  draw::Lines lines() const;
  // Replaces the whole text (one undo step) and marks it modified.
  void replaceLines(const draw::Lines& lines);
  // Appends lines after the last line.
  void appendLines(const draw::Lines& lines);

  QPlainTextEdit* memo() const;
  Ui::TnameList& form() { return *ui; }

  // Asks for the printer; the print dialog unless a test replaces it.
  std::function<bool(QPrinter&)> choosePrinter;
  // Opens the generator modally; returns its lines (empty when cancelled).
  // A test replaces it to drive the generator without a nested event loop.
  std::function<draw::Lines()> runGenerator;

  // ---- menu commands ----
  void N2Click();   // 全部清除
  void N3Click();   // 从文件导入
  void N21Click();  // 生成顺序编号
  void N12Click();  // 保存
  void N13Click();  // 汇出到文件
  void N14Click();  // 打印名单
  void N16Click();  // 清除空行
  void N17Click();  // 清除首尾空格
  void N7Click();   // 清除中间空格
  void N18Click();  // 删除重复人员
  void N19Click();  // 姓名等长处理
  void N20Click();  // 打乱名单
  void N22Click();  // 添加前缀
  void N23Click();  // 添加后缀

  // The export name: ".txt" is appended unless the name ends in exactly ".txt".
  static QString exportName(const QString& chosen);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void load();
  bool mayClose();
  bool save(const std::filesystem::path& file);
  void transform(const std::function<void(draw::Lines&)>& operation);
  void tellUndecodable(const draw::Lines& lines);
  std::filesystem::path rosterPath() const;

  std::unique_ptr<Ui::TnameList> ui;
  std::filesystem::path programDir_;
  screen::DialogService& dialogs_;
  draw::RandomSource& random_;
  bool modified_ = false;
  bool changedMark_ = false;
};

}  // namespace dialogs

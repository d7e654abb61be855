#pragma once
// The picture roster ("照片抽奖名单"): the people of the picture draw, each a
// name in PicList.txt and a photo photo/<name>.jpg, with the size of the rolling
// picture frame, the name caption and its font (section "图片抽奖" of
// Config.ini). The preview shows the selected person as a rolling picture frame
// will. What the draw must reload is reported through changedMark().
#include <QDialog>
#include <QImage>
#include <filesystem>
#include <memory>
#include <string>

#include "draw/roster_edit.h"
#include "styledtext/core/font_record.h"

namespace Ui {
class TPicL;
}
namespace screen {
class DialogService;
}

namespace dialogs {

class TPicL : public QDialog {
  Q_OBJECT

 public:
  TPicL(std::filesystem::path programDir, screen::DialogService& dialogs, QWidget* parent = nullptr);
  ~TPicL() override;

  bool changedMark() const { return changedMark_; }
  // The names in roster order (GBK).
  draw::Lines names() const;
  // What the preview shows (null when the list is empty and no sample could be read).
  const QImage& previewImage() const { return preview_; }
  const styledtext::FontRecord& captionFont() const { return font_; }
  Ui::TPicL& form() { return *ui; }

  // ---- commands ----
  void Button1Click();  // 导入图片
  void Button2Click();  // 删除选中人员
  void Button3Click();  // 全部清除
  void Button5Click();  // 添加无照片人员
  void Button4Click();  // 字体
  void N1Click();       // 删除照片
  void N2Click();       // 更换照片
  // Typing in the compression height: the first person's photo at that height.
  void Edit2Change();

  // Section "图片抽奖" and the list are written on close.
  void saveOnClose();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void load();
  void addName(const std::string& gbkName);
  void writeList();
  void showCount();
  void refreshPreview();
  void showPreview(const QImage& image);
  int compressionHeight(bool* valid) const;
  std::filesystem::path photoFolder() const;
  // The person's photo as it exists (any case of ".jpg"); empty when none.
  std::filesystem::path existingPhoto(const std::string& gbkName) const;
  std::filesystem::path photoTarget(const std::string& gbkName) const;
  std::filesystem::path samplePhoto() const;
  void removePhoto(const std::string& gbkName);
  // Writes the chosen picture as the person's photo; false (after telling the
  // operator) when it could not be done.
  bool storePhoto(const std::filesystem::path& source, const std::string& gbkName, int height);
  int selectedRow() const;

  std::unique_ptr<Ui::TPicL> ui;
  std::filesystem::path programDir_;
  screen::DialogService& dialogs_;
  styledtext::FontRecord font_;
  QString openedWidth_;
  QString openedHeight_;
  bool openedShowName_ = true;
  bool changedMark_ = false;
  bool saved_ = false;
  QImage preview_;
};

}  // namespace dialogs

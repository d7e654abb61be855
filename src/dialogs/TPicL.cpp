#include "dialogs/TPicL.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QListWidget>
#include <QPainter>

#include "base/config_files.h"
#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "dialogs/photo_import.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_keys.h"
#include "screen/dialog_service.h"
#include "screen/digit_field.h"
#include "screen/photo_tiles.h"
#include "screen/picture_scaling.h"
#include "screen/window_fit.h"
#include "styledtext/qt_rasteriser.h"
#include "ui_TPicL.h"

namespace dialogs {

namespace fs = std::filesystem;

namespace {

const QString kJpegFilter = QStringLiteral("JPG图片文件(*.jpg)");
constexpr int kNameRole = Qt::UserRole;

using base::gbk;

// Why a name cannot be a person of the picture roster (UTF-8), empty when it can.
// Half a character (a lone surrogate) is looked for on the QString: its UTF-8
// would already hold "?" in its place.
std::string nameProblem(const QString& name) {
  if (!platform::isStorable(name)) return "姓名含有名单文件无法保存的字符,请改用其它写法";
  return draw::photoNameProblem(name.toStdString());
}
const std::string& section() {
  static const std::string name = gbk("图片抽奖");
  return name;
}

std::string nameOf(const QListWidgetItem* item) { return item->data(kNameRole).toByteArray().toStdString(); }

bool endsWithJpg(const fs::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".jpg";
}

}  // namespace

TPicL::TPicL(fs::path programDir, screen::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TPicL>()), programDir_(std::move(programDir)), dialogs_(dialogs) {
  ui->setupUi(this);
  screen::fitToScreen(*this);
  screen::setDefaultButton(*this, nullptr);
  QFont listFont(QStringLiteral("宋体"));
  listFont.setPixelSize(16);
  ui->ListBox1->setFont(listFont);
  ui->ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ui->ListBox1->setDragDropMode(QAbstractItemView::InternalMove);
  ui->ListBox1->setDefaultDropAction(Qt::MoveAction);
  ui->ListBox1->setAutoScroll(true);
  ui->ProgressBar1->hide();

  auto* digits = new screen::DigitFieldFilter(dialogs_, this);
  for (QLineEdit* field : {ui->Edit1, ui->Edit3, ui->Edit2}) digits->attach(field);

  connect(ui->Button1, &QPushButton::clicked, this, &TPicL::Button1Click);
  connect(ui->Button2, &QPushButton::clicked, this, &TPicL::Button2Click);
  connect(ui->Button3, &QPushButton::clicked, this, &TPicL::Button3Click);
  connect(ui->Button4, &QPushButton::clicked, this, &TPicL::Button4Click);
  connect(ui->Button5, &QPushButton::clicked, this, &TPicL::Button5Click);
  connect(ui->N1, &QAction::triggered, this, &TPicL::N1Click);
  connect(ui->N2, &QAction::triggered, this, &TPicL::N2Click);
  connect(ui->Image1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ui->PopupMenu1->popup(ui->Image1->mapToGlobal(at)); });

  load();

  connect(ui->ListBox1, &QListWidget::currentRowChanged, this, &TPicL::refreshPreview);
  connect(ui->Edit1, &QLineEdit::textChanged, this, &TPicL::refreshPreview);
  connect(ui->Edit3, &QLineEdit::textChanged, this, &TPicL::refreshPreview);
  connect(ui->CheckBox1, &QCheckBox::toggled, this, &TPicL::refreshPreview);
  connect(ui->Edit2, &QLineEdit::textEdited, this, &TPicL::Edit2Change);
  connect(ui->ListBox1->model(), &QAbstractItemModel::rowsMoved, this, [this] { refreshPreview(); });
}

TPicL::~TPicL() = default;

// ---- files and settings ----

fs::path TPicL::photoFolder() const { return base::findIgnoringCase(programDir_, "photo"); }

fs::path TPicL::photoTarget(const std::string& gbkName) const {
  return photoFolder() / fs::path(base::gbkToUtf8(gbkName) + ".jpg");
}

fs::path TPicL::existingPhoto(const std::string& gbkName) const {
  if (base::isUnsafeBareName(gbkName)) return {};
  const fs::path found = base::findIgnoringCase(photoFolder(), base::gbkToUtf8(gbkName) + ".jpg");
  return base::isFile(found) ? found : fs::path();
}

fs::path TPicL::samplePhoto() const { return base::joinGbk(programDir_, "image\\sample.jpg"); }

void TPicL::load() {
  dialogs_.reportFailures([this] {
    const base::IniFile ini = base::ConfigFiles(programDir_).openConfig();
    ui->Edit1->setText(platform::fromGbk(ini.readString(section(), "Width", "")));
    ui->Edit3->setText(platform::fromGbk(ini.readString(section(), "Height", "")));
    ui->CheckBox1->setChecked(ini.readBool(section(), "ShowName", true));
    font_.color = ini.readInt(section(), "Font.Color", 999999);
    font_.size = ini.readInt(section(), "Font.Size", 20);
    font_.name = ini.readString(section(), "Font.Name", gbk("黑体"));
  });
  openedWidth_ = ui->Edit1->text();
  openedHeight_ = ui->Edit3->text();
  openedShowName_ = ui->CheckBox1->isChecked();

  draw::Lines names;
  // A missing list shows the standard message; the list starts empty and is
  // written on close.
  dialogs_.reportFailures([&] { names = base::readLines(base::findIgnoringCase(programDir_, "PicList.txt")); });
  for (const std::string& name : names) addName(name);
  if (const std::size_t damaged = draw::countLinesWithUndecodableBytes(names))
    dialogs_.message(QStringLiteral("名单中有%1行含有无法识别的文字,保存时会原样保留。").arg(damaged));
  showCount();
  if (ui->ListBox1->count() > 0) ui->ListBox1->setCurrentRow(0);
  refreshPreview();
}

void TPicL::addName(const std::string& gbkName) {
  auto* item = new QListWidgetItem(QString::fromUtf8(draw::gbkToEditor(gbkName)));
  item->setData(kNameRole, QByteArray::fromStdString(gbkName));
  item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);  // dropping moves between items, never onto one
  ui->ListBox1->addItem(item);
}

draw::Lines TPicL::names() const {
  draw::Lines result;
  result.reserve(static_cast<std::size_t>(ui->ListBox1->count()));
  for (int row = 0; row < ui->ListBox1->count(); ++row) result.push_back(nameOf(ui->ListBox1->item(row)));
  return result;
}

void TPicL::writeList() {
  const draw::Lines current = names();
  dialogs_.reportFailures([&] { base::rewriteLines(base::findIgnoringCase(programDir_, "PicList.txt"), current); });
}

void TPicL::showCount() { ui->Label_Count->setText(QString::number(ui->ListBox1->count())); }

int TPicL::selectedRow() const {
  const int row = ui->ListBox1->currentRow();
  return row >= 0 ? row : (ui->ListBox1->count() > 0 ? 0 : -1);
}

// ---- preview ----

void TPicL::showPreview(const QImage& image) {
  preview_ = image;
  ui->Image1->setPixmap(QPixmap::fromImage(image));
  ui->Image1->resize(image.size());
  ui->Image1->move((ui->Panel1->width() - image.width()) / 2, (ui->Panel1->height() - image.height()) / 2);
  ui->Image1->setVisible(!image.isNull());
}

void TPicL::refreshPreview() {
  const QSize frame(draw::effectiveSide(ui->Edit1->text().toStdString(), 30),
                    draw::effectiveSide(ui->Edit3->text().toStdString(), 50));
  const int row = selectedRow();
  if (row < 0) {
    showPreview(screen::readCovering(samplePhoto(), frame));
    return;
  }
  if (ui->ListBox1->currentRow() != row) {
    const QSignalBlocker quiet(ui->ListBox1);
    ui->ListBox1->setCurrentRow(row);
  }
  const std::string name = nameOf(ui->ListBox1->item(row));
  fs::path photo = existingPhoto(name);
  QImage image = photo.empty() ? QImage() : screen::readCovering(photo, frame);
  if (image.isNull()) image = screen::readCovering(samplePhoto(), frame);
  if (image.isNull()) {
    image = QImage(frame, QImage::Format_RGB32);
    image.fill(Qt::white);
  }
  if (ui->CheckBox1->isChecked()) {
    screen::PhotoTileSettings settings;
    settings.fontName = font_.name;
    settings.fontSize = font_.size;
    const QString shown = QString::fromUtf8(draw::gbkToEditor(name));
    screen::drawTileCaption(image, shown, shown, screen::tileCaptionFont(settings), styledtext::qtColour(font_.color));
  }
  showPreview(image);
}

int TPicL::compressionHeight(bool* valid) const {
  const std::optional<int> value = base::parseInt(ui->Edit2->text().toStdString());
  *valid = value && *value > 0;
  return value.value_or(0);
}

void TPicL::Edit2Change() {
  const int height = draw::effectiveSide(ui->Edit2->text().toStdString(), 30);
  if (ui->ListBox1->count() == 0) return;
  {
    const QSignalBlocker quiet(ui->ListBox1);
    ui->ListBox1->setCurrentRow(0);
  }
  const fs::path photo = existingPhoto(nameOf(ui->ListBox1->item(0)));
  const fs::path shown = photo.empty() ? samplePhoto() : photo;
  QImageReader reader(platform::toQString(shown));
  platform::useExtensionDecoder(reader);
  const QSize size = reader.size();
  QImage image;
  if (size.isValid() && !size.isEmpty())
    image = screen::readStretched(
        shown, QSize(std::max(1, draw::scaledPhotoWidth(size.width(), size.height(), height)), height));
  if (image.isNull()) {
    dialogs_.message(QString::fromUtf8(base::FileError(base::FileError::Kind::CannotOpen, shown).what()));
    return;
  }
  showPreview(image);
}

// ---- commands ----

bool TPicL::storePhoto(const fs::path& source, const std::string& gbkName, int height) {
  const fs::path old = existingPhoto(gbkName);
  const fs::path target = photoTarget(gbkName);
  const QString problem = writeScaledPhoto(source, target, height);
  if (!problem.isEmpty()) {
    dialogs_.message(problem);
    return false;
  }
  // A photo stored as .JPG by an older copy gives way to the one .jpg spelling.
  std::error_code ec;
  if (!old.empty() && old != target) fs::remove(old, ec);
  return true;
}

void TPicL::Button1Click() {
  const QStringList chosen =
      dialogs_.openFileNames(QStringLiteral("导入图片"), platform::toQString(programDir_), kJpegFilter);
  if (chosen.isEmpty()) return;
  bool valid = false;
  const int height = compressionHeight(&valid);
  if (!valid) {
    dialogs_.message(QString::fromUtf8(base::ConversionError::integer(ui->Edit2->text().toStdString()).what()));
    return;
  }
  ui->ProgressBar1->setRange(0, static_cast<int>(chosen.size()));
  ui->ProgressBar1->setValue(0);
  ui->ProgressBar1->show();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool any = false;
  for (qsizetype k = 0; k < chosen.size(); ++k) {
    const QString nameText = QFileInfo(chosen[k]).completeBaseName();
    const std::string problem = nameProblem(nameText);
    if (!problem.empty()) {
      QApplication::restoreOverrideCursor();
      dialogs_.message(QStringLiteral("%1: %2").arg(QFileInfo(chosen[k]).fileName(), QString::fromUtf8(problem)));
      QApplication::setOverrideCursor(Qt::WaitCursor);
      continue;
    }
    const std::string name = platform::toGbk(nameText);
    if (!existingPhoto(name).empty()) {
      QApplication::restoreOverrideCursor();
      const bool overwrite =
          dialogs_.question(nameText + QStringLiteral("已存在,是否覆盖原有图片?"), false, QStringLiteral("提示"));
      QApplication::setOverrideCursor(Qt::WaitCursor);
      if (!overwrite) continue;
    }
    if (!storePhoto(fs::path(chosen[k].toStdU16String()), name, height)) break;
    const draw::Lines current = names();
    if (std::find(current.begin(), current.end(), name) == current.end()) addName(name);
    any = true;
    showCount();
    ui->ProgressBar1->setValue(static_cast<int>(k + 1));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  QApplication::restoreOverrideCursor();
  ui->ProgressBar1->hide();
  if (!any) return;
  ui->ListBox1->clearSelection();
  ui->ListBox1->setCurrentRow(ui->ListBox1->count() - 1);
  refreshPreview();
  writeList();
  changedMark_ = true;
}

void TPicL::Button2Click() {
  if (ui->ListBox1->count() == 0) {
    refreshPreview();
    return;
  }
  const int focused = ui->ListBox1->currentRow();
  QList<QListWidgetItem*> selected = ui->ListBox1->selectedItems();
  if (selected.isEmpty() && focused >= 0) selected << ui->ListBox1->item(focused);
  // Every removed person's photo goes too: a photo left behind would come back
  // with the next person of that name.
  for (QListWidgetItem* item : selected) removePhoto(nameOf(item));
  for (QListWidgetItem* item : selected) delete ui->ListBox1->takeItem(ui->ListBox1->row(item));
  showCount();
  writeList();
  const int count = ui->ListBox1->count();
  if (count > 0) ui->ListBox1->setCurrentRow(focused >= 0 && focused < count ? focused : count - 1);
  refreshPreview();
  changedMark_ = true;
}

void TPicL::removePhoto(const std::string& gbkName) {
  const fs::path photo = existingPhoto(gbkName);
  std::error_code ec;
  if (!photo.empty() && !fs::remove(photo, ec) && ec)
    dialogs_.message(QString::fromUtf8(base::FileError(base::FileError::Kind::CannotWrite, photo).what()));
}

void TPicL::Button3Click() {
  std::error_code ec;
  for (fs::directory_iterator it(photoFolder(), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && endsWithJpg(it->path())) {
      std::error_code removeError;
      fs::remove(it->path(), removeError);
    }
  }
  ui->ListBox1->clear();
  showCount();
  writeList();
  refreshPreview();
  changedMark_ = true;
}

void TPicL::Button5Click() {
  const std::optional<QString> typed = dialogs_.text(QStringLiteral("人员姓名"), QString(), QString());
  if (!typed || typed->isEmpty()) return;
  const std::string problem = nameProblem(*typed);
  if (!problem.empty()) {
    dialogs_.message(QString::fromUtf8(problem));
    return;
  }
  const std::string name = platform::toGbk(*typed);
  const draw::Lines current = names();
  if (std::find(current.begin(), current.end(), name) != current.end()) {
    dialogs_.message(*typed + QStringLiteral("已在名单中,照片抽奖人员名单不能重复"));
    return;
  }
  addName(name);
  showCount();
  writeList();
  ui->ListBox1->clearSelection();
  ui->ListBox1->setCurrentRow(ui->ListBox1->count() - 1);
  refreshPreview();
  changedMark_ = true;
}

void TPicL::Button4Click() {
  std::optional<styledtext::FontRecord> chosen = dialogs_.font(font_);
  if (!chosen) return;
  font_.name = chosen->name;
  font_.size = chosen->size;
  font_.color = chosen->color;
  refreshPreview();
  changedMark_ = true;
}

void TPicL::N1Click() {
  const int row = selectedRow();
  if (row < 0) return;
  removePhoto(nameOf(ui->ListBox1->item(row)));
  refreshPreview();
  changedMark_ = true;
}

void TPicL::N2Click() {
  const int row = selectedRow();
  if (row < 0) return;
  const QString chosen =
      dialogs_.openFileName(QStringLiteral("更换照片"), platform::toQString(programDir_), kJpegFilter);
  if (chosen.isEmpty()) return;
  bool valid = false;
  const int height = compressionHeight(&valid);
  if (!valid) {
    dialogs_.message(QString::fromUtf8(base::ConversionError::integer(ui->Edit2->text().toStdString()).what()));
    return;
  }
  if (!storePhoto(fs::path(chosen.toStdU16String()), nameOf(ui->ListBox1->item(row)), height)) return;
  refreshPreview();
  changedMark_ = true;
}

// ---- closing ----

void TPicL::saveOnClose() {
  if (saved_) return;
  saved_ = true;
  writeList();
  dialogs_.reportFailures([this] {
    base::IniFile ini = base::ConfigFiles(programDir_).openConfig();
    base::IniBatch batch(ini);
    ini.writeString(section(), "Width", platform::toGbk(ui->Edit1->text()));
    ini.writeString(section(), "Height", platform::toGbk(ui->Edit3->text()));
    ini.writeBool(section(), "ShowName", ui->CheckBox1->isChecked());
    ini.writeInt(section(), "Font.Color", font_.color);
    ini.writeInt(section(), "Font.Size", font_.size);
    ini.writeString(section(), "Font.Name", font_.name);
  });
  if (ui->Edit1->text() != openedWidth_ || ui->Edit3->text() != openedHeight_ ||
      ui->CheckBox1->isChecked() != openedShowName_)
    changedMark_ = true;
}

void TPicL::closeEvent(QCloseEvent* event) {
  saveOnClose();
  event->accept();
}

void TPicL::reject() {
  saveOnClose();
  QDialog::reject();
}

}  // namespace dialogs

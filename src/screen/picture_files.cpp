#include "screen/picture_files.h"

#include <QImageReader>

#include "base/paths.h"
#include "platform/image_files.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_service.h"

namespace screen {

namespace fs = std::filesystem;

QString pictureFilter() {
  return QStringLiteral(
      "全部 (*.jpg *.jpeg *.bmp *.ico *.emf *.wmf *.png);;JPEG 图像文件 (*.jpg);;JPEG 图像文件 (*.jpeg);;"
      "位图 (*.bmp);;图标 (*.ico);;增强图元文件 (*.emf);;图元文件 (*.wmf);;可移植图片(*.png)");
}

bool readableOrTold(DialogService& dialogs, const QString& file) {
  if (!platform::readImageFile(file).isNull()) return true;
  dialogs.message(QStringLiteral("图片文件读取有错: ") + file);
  return false;
}

std::optional<fs::path> askPicture(DialogService& dialogs, const fs::path& folder) {
  const QString name = dialogs.openFileName(QString(), platform::toQString(folder), pictureFilter());
  if (name.isEmpty() || !readableOrTold(dialogs, name)) return std::nullopt;
  return fs::path(name.toStdString());
}

std::optional<ChosenPicture> chooseAndAdoptPicture(DialogService& dialogs, const fs::path& folder) {
  const std::optional<fs::path> chosen = askPicture(dialogs, folder);
  if (!chosen) return std::nullopt;
  ChosenPicture result;
  if (!dialogs.reportFailures([&] { result.kept = adoptPicture(*chosen, folder); })) return std::nullopt;
  result.picture = loadPicture(result.kept.file);
  return result;
}

std::optional<fs::path> pictureInFolder(const fs::path& folder, const std::string& gbkName) {
  if (gbkName.empty() || base::isUnsafeBareName(gbkName)) return std::nullopt;
  fs::path file = base::joinGbk(folder, gbkName);
  if (!base::isFile(file)) return std::nullopt;
  return file;
}

QImage loadPicture(const fs::path& file) {
  if (file.empty() || !base::isFile(file)) return {};
  QImageReader reader(platform::toQString(file));
  platform::useExtensionDecoder(reader);
  reader.setAutoTransform(true);
  return reader.read();
}

QImage loadPictureInFolder(const fs::path& folder, const std::string& gbkName) {
  const std::optional<fs::path> file = pictureInFolder(folder, gbkName);
  return file ? loadPicture(*file) : QImage();
}

}  // namespace screen

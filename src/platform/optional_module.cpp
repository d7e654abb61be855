#include "platform/optional_module.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringList>

namespace platform {

namespace {

QString fileNameOf(const char* name) { return QStringLiteral("lib%1.so").arg(QString::fromLatin1(name)); }

QStringList& addedFolders() {
  static QStringList folders;
  return folders;
}

QStringList moduleFolders() {
  QStringList folders;
  if (QCoreApplication::instance()) folders << QCoreApplication::applicationDirPath();
  folders << QString::fromUtf8(KV_PACKAGE_MODULE_DIR);
  return folders + addedFolders();
}

}  // namespace

std::vector<std::string> moduleFileNames() {
  return {fileNameOf(kSoundModule).toStdString(), fileNameOf(kWorkbookModule).toStdString()};
}

void addModuleFolder(const QString& folder) { addedFolders() << folder; }

QFunctionPointer moduleEntry(const char* name, const char* symbol, QString* error) {
  // An entry point found once is kept: the sound system is asked about at every
  // batch start, and nothing need look at the disk for it again.
  static QMutex mutex;
  static QHash<QByteArray, QFunctionPointer> found;
  const QMutexLocker lock(&mutex);
  const QByteArray key = QByteArray(name) + '/' + symbol;
  if (const auto known = found.constFind(key); known != found.constEnd()) return *known;

  const QString fileName = fileNameOf(name);
  QString reason = QStringLiteral("找不到程序组件 %1").arg(fileName);
  for (const QString& folder : moduleFolders()) {
    const QString path = folder + QLatin1Char('/') + fileName;
    if (!QFileInfo::exists(path)) continue;
    // A loaded module stays loaded until the program ends, whatever becomes of `module`.
    QLibrary module(path);
    if (!module.load()) {
      // The loader's own words name the missing system library: kept, after the cause in Chinese.
      reason = QStringLiteral("程序组件 %1 无法加载(文件已损坏,或缺少它需要的系统库,请重新安装程序)。技术信息:%2")
                   .arg(fileName, module.errorString());
      continue;
    }
    if (QFunctionPointer entry = module.resolve(symbol)) return found[key] = entry;
    reason = QStringLiteral("程序组件 %1 已损坏(缺少 %2)").arg(fileName, QString::fromLatin1(symbol));
  }
  if (error) *error = reason;
  return nullptr;
}

}  // namespace platform

// The tools of the event opened from the main popup menu: give-up (N18) and
// supplementary places (N58), the sound settings (N12, and the sound-card
// question's Yes), the password (N106), configuration export (N108) and import
// (N109) with the program restart that follows an import.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "app/TForm1.h"
#include "base/conversion_error.h"
#include "base/file_error.h"
#include "console/TConsole.h"
#include "dialogs/TGiveUp.h"
#include "dialogs/TMusicSet.h"
#include "dialogs/TOtherItem.h"
#include "dialogs/TPasswdSet.h"
#include "draw/config_backup.h"
#include "platform/optional_module.h"
#include "platform/qt_gbk.h"
#include "screen/lock_check.h"
#include "screen/main_menu.h"

namespace fs = std::filesystem;

namespace {
const QString kBackupName = QStringLiteral("Kelvara抽奖软件");

fs::path pathOf(const QString& chosen) { return fs::path(QDir::fromNativeSeparators(chosen).toStdString()); }
}  // namespace

bool TForm1::betweenBatches() {
  if (!Timer1.isActive()) return true;
  dialogs_.message(QStringLiteral("请先停止本轮抽奖,再进行弃奖或补奖"));
  return false;
}

void TForm1::N18Click() {
  if (!betweenBatches()) return;
  // A give-up rewrites the winners record from the table: while the record is not
  // loaded whole that would drop the records the table lacks.
  if (!data_.state.drawBlocked.empty()) {
    showMessage(data_.state.drawBlocked);
    return;
  }
  TGiveUp dialog(data_, folder_, dialogs_, dialogs_.parentWindow());
  dialog.exec();
  luck_->buildSingleAwardMenu();
}

void TForm1::N58Click() {
  if (!betweenBatches()) return;
  TOtherItem dialog(data_, folder_, dialogs_, dialogs_.parentWindow());
  dialog.exec();
  luck_->buildSingleAwardMenu();
}

void TForm1::openSoundSettings() {
  sounds_->stop();
  TMusicSet dialog(programDir_, *sounds_, dialogs_, dialogs_.parentWindow());
  dialog.exec();
}

void TForm1::N12Click() {
  openSoundSettings();
  runGuarded([this] { luck_->sounds().load(folder_); });
  luck_->playBackgroundMusic();
}

void TForm1::N106Click() {
  try {
    if (!screen::lockCheck(passwords_, dialogs_, screen::kOldPasswordPrompt)) {
      dialogs_.message(QStringLiteral("抱歉,原密码不正确,不能修改新密码。如需帮助请联系软件作者"));
      return;
    }
  } catch (const base::ConversionError& error) {
    dialogs_.message(QString::fromStdString(error.what()));
    return;
  }
  TPasswdSet dialog(passwords_, dialogs_, dialogs_.parentWindow());
  dialog.exec();
}

QString TForm1::executableName() const { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }

void TForm1::N108Click() {
  const QString chosen = dialogs_.folder(QStringLiteral("请选择保存路径"));
  if (chosen.isEmpty()) return;
  const fs::path target = pathOf(chosen);
  if (draw::exportWouldCopyIntoItself(programDir_, target)) {
    dialogs_.message(QStringLiteral("不能导出到本软件所在的文件夹之内,请选择其它文件夹"));
    return;
  }
  const fs::path backup = draw::backupFolderIn(target);
  std::error_code ec;
  if (fs::exists(backup, ec) && !dialogs_.question(QStringLiteral("备份文件已存在,是否覆盖?"))) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QString failure;
  try {
    std::vector<std::string> programFiles = platform::moduleFileNames();
    programFiles.push_back(executableName().toStdString());
    draw::exportConfiguration(programDir_, backup, programFiles);
  } catch (const base::FileError& error) {
    failure = QString::fromStdString(error.what());
  }
  QApplication::restoreOverrideCursor();
  if (!failure.isEmpty()) {
    dialogs_.message(QStringLiteral("导出未完成:") + failure);
    return;
  }
  QString shown = QDir::fromNativeSeparators(chosen);
  if (!shown.endsWith(QLatin1Char('/'))) shown += QLatin1Char('/');
  dialogs_.message(QStringLiteral("导出完成,文件路径:") + shown + kBackupName);
}

void TForm1::N109Click() {
  const QString chosen = dialogs_.folder(QStringLiteral("请选择备份文件路径"));
  if (chosen.isEmpty()) return;
  const QString path = QDir::fromNativeSeparators(chosen);
  if (!draw::hasBackupFolderName(path.toStdString())) {
    dialogs_.message(QStringLiteral("备份文件名称不正确,备份文件夹名称应为 Kelvara抽奖软件"));
    return;
  }
  const fs::path backup = pathOf(chosen);
  if (!draw::looksLikeBackup(backup)) {
    dialogs_.message(QStringLiteral("所选文件夹中没有配置备份文件,未导入任何文件"));
    return;
  }
  for (QTimer* timer : {&Timer1, &Timer2, &Timer4}) timer->stop();
  sounds_->close();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const draw::ImportOutcome outcome = draw::importConfiguration(backup, programDir_);
  QApplication::restoreOverrideCursor();
  if (!outcome.failures.empty()) {
    QStringList names;
    for (const std::string& name : outcome.failures) names << QString::fromStdString(name);
    dialogs_.message(QStringLiteral("以下文件未能导入:\n") + names.join(QLatin1Char('\n')));
  } else if (outcome.foldersCopied) {
    dialogs_.message(QStringLiteral("导入完成,系统将重新开启。"));
  }
  restartProgram();
}

void TForm1::restartProgram() {
  // The files on disk are the imported ones now: the exit save must not write the
  // old screen over them, so this instance ends without saving.
  skipExitSave_ = true;
  if (console_ != nullptr) console_->closeWithProgram();
  emit restartRequested();
}

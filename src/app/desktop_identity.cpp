#include "app/desktop_identity.h"

#include <QApplication>
#include <QIcon>

namespace app {

void setDesktopIdentity() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/kelvara-48.png"));
  icon.addFile(QStringLiteral(":/icons/kelvara-256.png"));
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopName));
}

}  // namespace app

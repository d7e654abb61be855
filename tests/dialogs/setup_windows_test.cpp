// Every setup window: which button Enter presses, that it fits a small screen
// (1024×600 with a title bar and a 40 px panel), and the lock prompt's width.
#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "dialogs/TClassifyForm.h"
#include "dialogs/TForm2.h"
#include "dialogs/TGiveUp.h"
#include "dialogs/TLuckPerson.h"
#include "dialogs/TMusicSet.h"
#include "dialogs/TOtherItem.h"
#include "dialogs/TPasswdSet.h"
#include "dialogs/TPicL.h"
#include "dialogs/TSysItem.h"
#include "dialogs/TnameList.h"
#include "draw/event_fixture.h"
#include "draw/random_source.h"
#include "platform/password_store.h"
#include "screen/sound_players.h"
#include "screen/window_fit.h"
#include "window_test_setup.h"

using draw_testing::EventFixture;

namespace {

struct Window {
  const char* title;
  // The button Enter presses where the focus is on no button; empty: none.
  const char* enterButton;
  std::function<std::unique_ptr<QDialog>()> make;
};

}  // namespace

class SetupWindowsTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;
  EventFixture event;
  draw::DrawData data;
  screen::DialogService dialogs;
  screen::SoundPlayers players;
  draw::RandomSource random{1};
  std::unique_ptr<platform::PasswordStore> passwords;

  std::vector<Window> windows() {
    return {
        {"奖项设置", "Button1",
         [this] {
           return std::make_unique<dialogs::TSysItem>(data, event.folder(), dialogs, dialogs::TSysItem::ScreenLink{});
         }},
        {"分组抽奖设定", "",
         [this] { return std::make_unique<dialogs::TClassifyForm>(data, event.folder(), dialogs); }},
        {"内定设置", "",
         [this] { return std::make_unique<dialogs::TLuckPerson>(data, event.folder(), dialogs, nullptr); }},
        {"人员名单", "", [this] { return std::make_unique<dialogs::TnameList>(event.dir().path(), dialogs, random); }},
        {"生成名单", "Button1", [this] { return std::make_unique<dialogs::TForm2>(dialogs); }},
        {"照片抽奖名单", "", [this] { return std::make_unique<dialogs::TPicL>(event.dir().path(), dialogs); }},
        {"音效设置", "Button1", [this] { return std::make_unique<TMusicSet>(event.dir().path(), players, dialogs); }},
        {"密码设定", "Button1", [this] { return std::make_unique<TPasswdSet>(*passwords, dialogs); }},
        {"弃奖处理", "", [this] { return std::make_unique<TGiveUp>(data, event.folder(), dialogs); }},
        {"补奖", "Button1", [this] { return std::make_unique<TOtherItem>(data, event.folder(), dialogs); }},
    };
  }

 private slots:
  void initTestCase() {
    dialogs.setHeadless(true);
    event.config(EventFixture::awardLines({{"一等奖", 3, 1}, {"二等奖", 23, 5}}));
    event.roster(EventFixture::numberedNames(30));
    event.start(data);
    passwords = std::make_unique<platform::PasswordStore>(setup_.userSettings() / "registry.ini");
  }

  void enterPressesOnlyTheWindowsOwnDefault() {
    for (const Window& w : windows()) {
      std::unique_ptr<QDialog> dialog = w.make();
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
      QStringList defaults;
      for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->isDefault()) defaults << button->objectName();
      const QStringList expected = *w.enterButton ? QStringList{QString::fromLatin1(w.enterButton)} : QStringList{};
      QVERIFY2(defaults == expected, qPrintable(QString::fromUtf8(w.title) + ": " + defaults.join(',')));
      // Still so after the operator clicked another button (a dialog without a
      // default would adopt the first one focused).
      for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->objectName() == QLatin1String(w.enterButton) || !button->isVisible()) continue;
        button->setFocus();
        break;
      }
      dialog->setFocus();
      for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->objectName() != QLatin1String(w.enterButton))
          QVERIFY2(!button->isDefault(), qPrintable(QString::fromUtf8(w.title) + ": " + button->objectName()));
    }
  }

  void everyWindowFitsASmallScreenWithTitleBarAndPanel() {
    const QSize small(1024, 600);
    for (const Window& w : windows()) {
      std::unique_ptr<QDialog> dialog = w.make();
      const QSize least = dialog->minimumSizeHint().expandedTo(dialog->minimumSize());
      const QSize room = screen::roomOnScreen(QRect(QPoint(0, 0), small));
      QVERIFY2(least.width() <= room.width() && least.height() <= room.height(),
               qPrintable(QStringLiteral("%1: %2×%3 > %4×%5")
                              .arg(QString::fromUtf8(w.title))
                              .arg(least.width())
                              .arg(least.height())
                              .arg(room.width())
                              .arg(room.height())));
      screen::fitToScreen(*dialog, QRect(QPoint(0, 0), small));
      QVERIFY2(dialog->width() <= room.width() && dialog->height() <= room.height(), w.title);
    }
    QCOMPARE(screen::roomOnScreen(QRect(0, 0, 1024, 600)).height(), 600 - screen::kTitleBarAndPanel);
  }

  void theLockPromptShowsItsWholeCaption() {
    const QString caption = QStringLiteral("系统已作管制,请输入密码");
    const auto box = screen::DialogService::inputBox(nullptr, caption, QString(), QString(), true);
    QCOMPARE(box->windowTitle(), caption);
    QCOMPARE(box->textEchoMode(), QLineEdit::Password);
    QFont bar = box->font();
    bar.setBold(true);
    box->show();
    QVERIFY(box->width() >= QFontMetrics(bar).horizontalAdvance(caption) + 120);
    box->hide();
  }
};

QTEST_MAIN(SetupWindowsTest)
#include "setup_windows_test.moc"

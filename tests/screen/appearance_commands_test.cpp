// The element and screen settings commands driven through their menu items, with
// the dialog service answering in place of the operator.
#include "screen/appearance_commands.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QWidget>
#include <QtTest>

#include "base/ini_file.h"
#include "platform/password_store.h"
#include "screen/main_menu.h"
#include "screen/tool_commands.h"
#include "test_folder.h"
#include "window_test_setup.h"

using screen::Element;
using screen::Label;
using testing_support::gbk;
using testing_support::TestFolder;

namespace {

// The menus and commands as the window wires them, on a model of a shown screen.
struct Screen {
  TestFolder folder;
  platform::PasswordStore passwords{folder / "registry" / "registry.ini"};
  QWidget window;
  screen::ScreenModel model;
  screen::DialogService dialogs;
  screen::MainMenu menu{&window};
  screen::ElementMenus elements{&window};
  screen::AppearanceCommands appearance{model, folder.path(), dialogs, passwords};
  screen::ToolCommands tools{folder.path(), dialogs, &window};

  Screen() {
    dialogs.setHeadless(true);
    tools.openUrl = [](const QUrl&) { return true; };
    model.showTicks.fill(true);
    model.label(Label::MainTitle).caption = gbk("年会");
    screen::connectElementMenus(elements, appearance);
  }
  void trigger(Element element, const char* item) {
    elements.menu(element)->findChild<QAction*>(QString::fromLatin1(item))->trigger();
  }
  std::filesystem::path picture(const std::string& relative) {
    std::filesystem::create_directories((folder / relative).parent_path());
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = QString::fromStdString((folder / relative).string());
    if (!image.save(path)) qFatal("cannot write the test picture");
    return folder / relative;
  }
};

QString message(const QString& text) { return QStringLiteral("message: ") + text; }

}  // namespace

class AppearanceCommandsTest : public QObject {
  Q_OBJECT

  testing_support::WindowTestSetup setup_;

 private slots:
  void titlesRefuseBlanksAndKeepBlanksAround() {
    Screen s;
    s.dialogs.setNextText(QStringLiteral("   "));
    s.trigger(Element::MainTitle, "setContent");
    QCOMPARE(s.model.label(Label::MainTitle).caption, gbk("年会"));
    QCOMPARE(s.dialogs.log(),
             QStringList({"text: 主标题", message("标题内容不可为空,如您要隐藏,请在空白处右键->画面设定,"
                                                  "去除对应打钩")}));
    s.dialogs.clearLog();
    s.dialogs.setNextText(QStringLiteral(" 新年 "));
    s.appearance.editTitle(Label::MainTitle);
    QCOMPARE(s.model.label(Label::MainTitle).caption, gbk(" 新年 "));

    s.dialogs.setNextText(QStringLiteral(""));
    s.appearance.editTitle(Label::SecTitle);
    QVERIFY(s.dialogs.log().contains(message("副标题不可为空,如您要隐藏,请在空白处右键->画面设定,去除对应打钩")));
    // Cancel hands back the prefilled text: no change and no message.
    s.dialogs.clearLog();
    s.dialogs.setNextText(std::nullopt);
    s.trigger(Element::SecTitle, "setContent");
    QCOMPARE(s.dialogs.log(), QStringList({"text: 副标题"}));
  }

  void prizePictureStepsStopAtTheirBounds() {
    Screen s;
    s.model.prizePicture.size = {35, 595};
    for (int i = 0; i < 2; ++i) s.trigger(Element::PrizePicture, "heightUp");
    for (int i = 0; i < 2; ++i) s.trigger(Element::PrizePicture, "widthDown");
    QCOMPARE(s.model.prizePicture.size.height, 605);
    QCOMPARE(s.model.prizePicture.size.width, 25);
    s.trigger(Element::PrizePicture, "widthUp");
    s.trigger(Element::PrizePicture, "heightDown");
    QCOMPARE(s.model.prizePicture.size, (screen::Size{35, 595}));
  }

  void centringUsesTheElementWidth() {
    Screen s;
    QWidget* hint = new QWidget(&s.window);
    hint->setGeometry(7, 300, 301, 30);
    QWidget* logo = new QWidget(&s.window);
    logo->setGeometry(0, 0, 100, 60);
    s.elements.attach(
        Element::ActionHint, hint, [] { return false; }, [](Element, QPoint) {});
    s.elements.attach(
        Element::Logo, logo, [] { return false; }, [](Element, QPoint) {});
    s.appearance.setDesktopWidth(1025);
    s.model.label(Label::ActionHint).position = {7, 300};
    s.trigger(Element::ActionHint, "centre");
    s.trigger(Element::Logo, "centre");
    QCOMPARE(s.model.label(Label::ActionHint).position, (screen::Point{512 - 150, 300}));
    QCOMPARE(s.model.logo.x, 512 - 50);
  }

  void ticksAndLockFollowTheModel() {
    Screen s;
    s.appearance.toggleShowTick(screen::ShowTick::MainTitle);
    QVERIFY(!s.model.label(Label::MainTitle).visible);
    s.appearance.toggleShowTick(screen::ShowTick::MainTitle);
    QVERIFY(s.model.label(Label::MainTitle).visible);
    s.appearance.togglePositionLock();
    QVERIFY(s.model.positionLock);
  }

  void themeIsStoredAtOnce() {
    Screen s;
    s.picture("backpic/欢庆.jpg");
    s.appearance.applyTheme(1);  // 节日欢庆
    QCOMPARE(s.model.backgroundFile, s.folder / "backpic" / "欢庆.jpg");
    QCOMPARE(base::ConfigFiles(s.folder.path()).openConfigOnly().readString(gbk("背景"), "Picture", ""),
             gbk("欢庆.jpg"));
    s.appearance.applyTheme(7);  // 圣诞, not shipped in this folder
    s.folder.write("backpic/婚礼.jpg", "damaged");
    s.appearance.applyTheme(2);  // 婚礼
    QCOMPARE(s.model.backgroundFile, s.folder / "backpic" / "欢庆.jpg");
    QCOMPARE(base::ConfigFiles(s.folder.path()).openConfigOnly().readString(gbk("背景"), "Picture", ""),
             gbk("欢庆.jpg"));
    QCOMPARE(s.dialogs.log().size(), 1);  // the damaged picture, not the missing one
  }

  void backgroundFromAnotherFolderIsCopiedIntoBackpic() {
    Screen s;
    const auto chosen = s.picture("照片/舞会.png");
    s.dialogs.setNextFileName(QString::fromStdString(chosen.string()));
    s.appearance.changeBackground();
    QCOMPARE(s.model.backgroundFile, s.folder / "backpic" / "舞会.png");
    QVERIFY(std::filesystem::is_regular_file(s.folder / "backpic" / "舞会.png"));
    QCOMPARE(s.model.backgroundName, gbk("舞会.png"));

    // A file that is no picture is refused with a message and changes nothing.
    s.folder.write("照片/坏.png", "not a picture");
    s.dialogs.setNextFileName(QString::fromStdString((s.folder / "照片" / "坏.png").string()));
    s.appearance.changeBackground();
    QVERIFY(!std::filesystem::exists(s.folder / "backpic" / "坏.png"));
    QCOMPARE(s.model.backgroundName, gbk("舞会.png"));
    QVERIFY(s.dialogs.log().last().startsWith("message: 图片文件读取有错"));
  }

  void backgroundAsksForAStoredPassword() {
    Screen s;
    s.passwords.setPassword("Abcd");
    const auto chosen = s.picture("elsewhere/bg.png");
    s.dialogs.setNextText(QStringLiteral("abcd"));
    s.appearance.changeBackground();
    QCOMPARE(s.dialogs.log(), QStringList({"text: 系统已作管制,请输入密码", message("抱歉,密码不正确,不能修改")}));
    QVERIFY(s.model.backgroundName.empty());

    s.dialogs.clearLog();
    s.dialogs.setNextText(QStringLiteral("Abcd"));
    s.dialogs.setNextFileName(QString::fromStdString(chosen.string()));
    s.appearance.changeBackground();
    QCOMPARE(s.dialogs.log(), QStringList({"text: 系统已作管制,请输入密码", "open: "}));
    QCOMPARE(s.model.backgroundName, std::string("bg.png"));
  }

  void logoIsCopiedIntoImageAndSavedAtOnce() {
    Screen s;
    int saves = 0;
    s.appearance.exitSave = [&] {
      QCOMPARE(s.model.logoName, gbk("标志.png"));
      ++saves;
    };
    s.dialogs.setNextFileName(QString::fromStdString(s.picture("下载/标志.png").string()));
    s.trigger(Element::Logo, "changePicture");
    QCOMPARE(saves, 1);
    QCOMPARE(s.model.logoFile, s.folder / "image" / "标志.png");
    s.trigger(Element::Logo, "changePicture");  // cancelled
    QCOMPARE(saves, 1);
  }

  void fontAndEffectsReachTheLabel() {
    Screen s;
    screen::LabelFont& initial = s.model.label(Label::ItemName).font;
    initial.color = 128;
    initial.size = 19;
    initial.name = gbk("黑体");
    initial.charset = 134;
    screen::LabelFont chosen;
    chosen.name = gbk("楷体_GB2312");
    chosen.size = 28;
    chosen.color = 255;
    chosen.bold = true;
    s.dialogs.setNextFont(chosen);
    s.trigger(Element::ItemName, "font");
    const screen::LabelFont& font = s.model.label(Label::ItemName).font;
    QCOMPARE(font.name, gbk("楷体_GB2312"));
    QCOMPARE(font.size, 28);
    QCOMPARE(font.color, 255);
    QVERIFY(font.bold);
    QCOMPARE(font.charset, 134);

    std::optional<Label> edited;
    s.appearance.editEffects = [&](Label label) { edited = label; };
    s.trigger(Element::HonorGuest, "effects");
    QCOMPARE(edited, std::optional<Label>(Label::HonorGuest));
  }
};

QTEST_MAIN(AppearanceCommandsTest)
#include "appearance_commands_test.moc"

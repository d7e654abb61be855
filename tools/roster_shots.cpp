// Shows one roster window on a real display for a screenshot:
//   roster_shots SCENE
// SCENE: editor (the roster editor with its 名单处理 menu open), generator (the
// generator filled in), pictures (the picture roster with a few photos). Uses a
// scratch copy of the demo event; quits by itself after four seconds.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>

#include "base/gbk.h"
#include "base/text_file.h"
#include "dialogs/TForm2.h"
#include "dialogs/TPicL.h"
#include "dialogs/TnameList.h"
#include "platform/font_substitutions.h"
#include "platform/qt_gbk.h"
#include "screen/dialog_service.h"
#include "test_photos.h"
#include "ui_TForm2.h"
#include "ui_TnameList.h"

namespace fs = std::filesystem;

namespace {

void writePhoto(const fs::path& file, QColor colour, const QString& mark) {
  QImage image(240, 300, QImage::Format_RGB32);
  image.fill(colour);
  QPainter painter(&image);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPixelSize(120);
  painter.setFont(font);
  painter.drawText(image.rect(), Qt::AlignCenter, mark);
  painter.end();
  bench_support::writeJpeg(file, image, 90);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  const QString scene = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("editor");
  QTemporaryDir dir;
  const fs::path programDir = fs::path(dir.path().toStdString());
  fs::copy(fs::path(KV_DIST_DIR), programDir, fs::copy_options::recursive);
  screen::DialogService dialogs;
  draw::RandomSource random(1);
  // Long enough for a shot, Enter and a second shot.
  QTimer::singleShot(6000, &app, &QApplication::quit);

  if (scene == QStringLiteral("generator")) {
    dialogs::TForm2 generator(dialogs);
    generator.form().Edit1->setText(QStringLiteral("A"));
    generator.form().Edit3->setText(QStringLiteral("1"));
    generator.form().Edit4->setText(QStringLiteral("100"));
    generator.form().Edit6->setText(QStringLiteral("4"));
    generator.show();
    return app.exec();
  }
  if (scene == QStringLiteral("pictures")) {
    fs::create_directories(programDir / "photo");
    const std::pair<const char*, QColor> people[] = {
        {"张三", QColor(200, 60, 60)}, {"李四", QColor(60, 120, 200)}, {"王五", QColor(60, 160, 90)}};
    std::vector<std::string> names;
    for (const auto& [name, colour] : people) {
      writePhoto(programDir / "photo" / (std::string(name) + ".jpg"), colour, QString::fromUtf8(name).left(1));
      names.push_back(base::utf8ToGbk(name));
    }
    names.push_back(base::utf8ToGbk("赵六"));  // no photo: the system photo stands in
    base::rewriteLines(programDir / "PicList.txt", names);
    dialogs::TPicL roster(programDir, dialogs);
    roster.show();
    return app.exec();
  }
  dialogs::TnameList editor(programDir, dialogs, random);
  editor.show();
  QTimer::singleShot(800, &editor, [&editor] {
    QMenuBar* bar = editor.form().MainMenu1;
    QAction* lists = editor.form().N15->menuAction();
    bar->setActiveAction(lists);
  });
  return app.exec();
}

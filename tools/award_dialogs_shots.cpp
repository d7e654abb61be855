// Shows one of the award dialogs over the draw screen on a real display, filled
// with the shipped demo event, for a screenshot:
//   award_dialogs_shots SCENE DIST
// SCENE: awards (award settings), groups (award grouping), predetermined.
// Works on a copy of DIST; quits by itself after eight seconds (a shot, Enter, a second shot).
#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>

#include "app/TForm1.h"
#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "dialogs/TClassifyForm.h"
#include "dialogs/TLuckPerson.h"
#include "dialogs/TSysItem.h"
#include "platform/font_substitutions.h"
#include "test_folder.h"

namespace fs = std::filesystem;
using base::utf8ToGbk;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::installFontSubstitutions();
  const QString scene = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("awards");
  const fs::path dist = argc > 2 ? fs::path(argv[2]) : fs::path("dist");
  testing_support::TestFolder event;
  fs::copy(dist, event.path(), fs::copy_options::recursive);

  const std::vector<std::string> roster = base::readLines(event.path() / "NameList.txt");
  base::IniFile config = base::ConfigFiles(event.path()).openConfig();
  config.writeString(utf8ToGbk("奖项分组"), "4_B", "21");
  config.writeString(utf8ToGbk("奖项分组"), "4_E", "80");
  config.writeString(utf8ToGbk("奖项分组"), "5_B", "41");
  auto entry = [&](int number, int person, const char* award, const char* awardName) {
    return base::writeDelimitedRow({std::to_string(number), std::to_string(person),
                                    roster[static_cast<std::size_t>(person - 1)], award, utf8ToGbk(awardName)});
  };
  config.writeString(utf8ToGbk("内定设置"), "Open", "1");
  config.writeString(utf8ToGbk("内定设置"), "1", entry(1, 12, "1", "特等奖"));
  config.writeString(utf8ToGbk("内定设置"), "2", entry(2, 37, "2", "一等奖"));
  config.writeString(utf8ToGbk("内定设置B"), "1", entry(1, 5, "0", "全部"));
  config.writeString(utf8ToGbk("内定设置B"), "2", entry(2, 8, "3", "二等奖"));

  const QSize desktop = app.primaryScreen()->geometry().size();
  draw::EventFolder folder(event.path());
  TForm1 window(event.path(), nullptr, desktop);
  window.dialogs().setHeadless(true);  // the start-up's questions are not part of the shot
  window.show();

  std::unique_ptr<QDialog> dialog;
  QTimer::singleShot(1200, &window, [&] {
    draw::DrawData& data = window.drawData();
    screen::DialogService& asked = window.dialogs();
    if (scene == QLatin1String("groups")) {
      auto* d = new dialogs::TClassifyForm(data, folder, asked, &window);
      d->grid()->setCurrentCell(3, 3);
      dialog.reset(d);
    } else if (scene == QLatin1String("predetermined")) {
      auto* d = new dialogs::TLuckPerson(data, folder, asked, {}, &window);
      d->rosterList()->selectRow(19);
      d->awardChooser()->setCurrentIndex(2);
      dialog.reset(d);
    } else {
      auto* d = new dialogs::TSysItem(data, folder, asked, {}, &window);
      d->grid()->setCurrentCell(1, 2);
      dialog.reset(d);
    }
    dialog->setModal(true);
    dialog->show();
  });
  QTimer::singleShot(8000, &app, &QApplication::quit);
  return app.exec();
}

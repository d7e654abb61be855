#pragma once
// The programme and judges setup dialog ("节目设置"): the programme table, the
// judge table with each judge's photo, the averaging switches, the full score,
// the scoring file's path and layout, and the blank scoring file. It edits its
// own copies and stores them in Config.ini on OK or after generating a file.
#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>

#include "scoring/core/programme_lists.h"
#include "screen/dialog_service.h"

namespace Ui {
class TComProSys;
}
class QMenu;

namespace scoring {

class ScoringGrid;

class TComProSys : public QDialog {
  Q_OBJECT

 public:
  TComProSys(std::filesystem::path programDir, screen::DialogService& dialogs, QWidget* parent = nullptr);
  ~TComProSys() override;

  ScoringGrid* programmeGrid() const;
  ScoringGrid* judgeGrid() const;
  // What the dialog would store now.
  ScoringSetup setup() const;
  // The picture file shown in the photo frame (empty when the frame is empty).
  const std::filesystem::path& shownPhoto() const { return shownPhoto_; }

  // The commands, also reached through the dialog's buttons and menus.
  bool store();  // false when a value was refused (nothing stored)
  void generateBlankFile();
  void choosePhoto();
  void clearPhoto();
  void deleteProgramme();
  void deleteJudge();
  // Shows the "手机评分" button, which runs `open` (the window that serves the judges' phones).
  void setPhoneScoringOpener(std::function<void()> open);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void fillGrid(ScoringGrid* grid, const std::vector<std::vector<std::string>>& rows);
  void renumberProgrammes();
  void showProgrammeCount();
  void showJudgeCount();
  void showPhoto(int row);
  void programmeEditingStarted(int row);
  void programmeCellSelected(int row);
  void judgeEditingStarted(int row);
  void judgeCellSelected(int row);
  // Removes the last row when it is empty and not the row in hand.
  void dropEmptyLastRow(ScoringGrid* grid, int nameColumn, int selectedRow);
  void openInEditor(const QString& path);
  bool refuseBadValues();

  std::unique_ptr<Ui::TComProSys> ui;
  std::filesystem::path programDir_;
  screen::DialogService& dialogs_;
  std::filesystem::path shownPhoto_;
};

}  // namespace scoring

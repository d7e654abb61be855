#pragma once
// The predetermined winners and blacklist dialog "内定设置": who wins which
// award, who may not win an award (or any), and the switches of both lists and
// of the menu entry that opens this dialog. Every close stores both lists and
// the switches in "内定设置" and "内定设置B"; the draw takes the lists at its
// next restart. The switches act on the main window's draw at once.
//
// A person is named by roster serial. A stored row whose serial no longer holds
// the stored line (the roster was edited since) is shown in red and the operator
// is told at opening, so a prize never silently goes to whoever now stands there.
// An entry is tied to its award by the award's name: it follows the award when
// the awards are reordered, and one whose award is gone is shown in red and
// told at opening, as the draw no longer applies it.
#include <QDialog>
#include <functional>
#include <memory>

#include "draw/draw_data.h"
#include "draw/event_folder.h"
#include "draw/predetermined_lists.h"
#include "screen/dialog_service.h"

class QComboBox;
class QTableView;
class QTableWidget;

namespace Ui {
class TLuckPerson;
}

namespace dialogs {

class RosterListModel;

class TLuckPerson : public QDialog {
  Q_OBJECT

 public:
  // hideChanged: the hide switch changed (DrawData already holds it); the
  // window shows or hides the menu entry.
  TLuckPerson(draw::DrawData& data, const draw::EventFolder& folder, screen::DialogService& dialogs,
              std::function<void()> hideChanged, QWidget* parent = nullptr);
  ~TLuckPerson() override;

  QTableView* rosterList() const;
  QComboBox* awardChooser() const;
  QTableWidget* predeterminedGrid() const;
  QTableWidget* blacklistGrid() const;
  const draw::lists::PersonLists& lists() const { return lists_; }
  // Rows of each list (0-based) shown as no longer matching the roster.
  std::vector<std::size_t> staleRows(bool predetermined) const;
  // Rows of each list (0-based) whose award no longer exists in the award settings.
  std::vector<std::size_t> goneAwardRows(bool predetermined) const;

  // The five buttons.
  void predetermine();  // 内定>>
  void barFromAward();  // 不中某奖>>
  void barFromAll();    // 全部不中>>
  void removePredetermined();
  void removeBlacklisted();

  void done(int result) override;  // every close saves

 private:
  void load();
  void save();
  void showLists();
  // 0-based roster row selected, or -1.
  int selectedPerson() const;
  void selectNextPerson(int row);
  // The button's common part; award < 0 bars from every award.
  void add(bool predetermined, bool allAwards);
  void remove(bool predetermined);
  // Tells the operator, under `header`, the rows of both lists that `flagged`
  // picks (at most ten of them listed); `withAward` adds each row's award name.
  using RowsFlagged = std::vector<std::size_t> (TLuckPerson::*)(bool predetermined) const;
  void tellFlaggedRows(RowsFlagged flagged, bool withAward, const QString& header);
  // Sets each entry's award serial to where its award stands now.
  void resolveAwards();

  std::unique_ptr<Ui::TLuckPerson> ui;
  draw::DrawData& data_;
  const draw::EventFolder& folder_;
  screen::DialogService& dialogs_;
  std::function<void()> hideChanged_;
  RosterListModel* roster_ = nullptr;
  draw::lists::PersonLists lists_;
  // The award names as the award settings hold them (award k + 1 at k): what the
  // lists are applied to when the draw restarts.
  std::vector<std::string> awardNames_;
  // False when the roster could not be read: nothing was loaded, so nothing is stored.
  bool loaded_ = false;
};

}  // namespace dialogs

#include "screen/dialog_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QTimer>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "screen/display_stage.h"
#include "sheets/TSheetColumns.h"
#include "styledtext/TSmoothFontDlg.h"
#include "styledtext/font_dialog.h"
#include "styledtext/qt_rasteriser.h"

namespace screen {

template <typename T>
bool DialogService::takeQueued(std::deque<T>& queue, T& answer) {
  if (queue.empty()) return false;
  answer = std::move(queue.front());
  queue.pop_front();
  return true;
}

QString DialogService::openFileName(const QString& caption, const QString& folder, const QString& filter) {
  log_ << QStringLiteral("open: ") + caption;
  QString name;
  if (takeQueued(fileNames_, name) || headless_) return name;
  return QFileDialog::getOpenFileName(parentWindow(), caption, folder, filter);
}

QStringList DialogService::openFileNames(const QString& caption, const QString& folder, const QString& filter) {
  log_ << QStringLiteral("open: ") + caption;
  QStringList names;
  if (takeQueued(fileLists_, names) || headless_) return names;
  return QFileDialog::getOpenFileNames(parentWindow(), caption, folder, filter);
}

QString DialogService::folder(const QString& caption) {
  log_ << QStringLiteral("folder: ") + caption;
  QString path;
  if (takeQueued(folders_, path) || headless_) return path;
  return QFileDialog::getExistingDirectory(parentWindow(), caption, QString(), QFileDialog::ShowDirsOnly);
}

QString DialogService::saveFileName(const QString& caption, const QString& folder, const QString& filter,
                                    const QString& defaultSuffix) {
  log_ << QStringLiteral("save: ") + caption;
  QString name;
  if (takeQueued(fileNames_, name) || headless_) return name;
  QFileDialog dialog(parentWindow(), caption, folder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before replacing a file
  dialog.setDefaultSuffix(defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

std::optional<QString> DialogService::text(const QString& caption, const QString& prompt, const QString& prefill,
                                           bool masked) {
  log_ << QStringLiteral("text: ") + caption;
  std::optional<QString> answer;
  if (takeQueued(texts_, answer) || headless_) return answer;
  const std::unique_ptr<QInputDialog> box = inputBox(parentWindow(), caption, prompt, prefill, masked);
  if (box->exec() != QDialog::Accepted) return std::nullopt;
  return box->textValue();
}

std::unique_ptr<QInputDialog> DialogService::inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                                      const QString& prefill, bool masked) {
  auto box = std::make_unique<QInputDialog>(parent);
  box->setWindowTitle(caption);
  box->setLabelText(prompt);
  box->setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
  box->setTextValue(prefill);
  box->setOkButtonText(QStringLiteral("确定"));
  box->setCancelButtonText(QStringLiteral("取消"));
  // The title bar's font is the window manager's, often larger and bold, and it
  // shares the bar with the icon and three buttons: room for both, generously.
  QFont title = box->font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() * 1.2);
  constexpr int kTitleBarButtons = 160;
  // The box's layout sets its minimum from its contents at every show, so the
  // width goes to the field (the margins around it only add to it).
  (void)box->sizeHint();  // makes the box's widgets
  if (auto* field = box->findChild<QLineEdit*>())
    field->setMinimumWidth(QFontMetrics(title).horizontalAdvance(caption) + kTitleBarButtons);
  return box;
}

std::optional<styledtext::FontRecord> DialogService::font(const styledtext::FontRecord& initial) {
  log_ << QStringLiteral("font");
  std::optional<styledtext::FontRecord> answer;
  if (takeQueued(fonts_, answer) || headless_) return answer;
  return styledtext::FontDialog::choose(parentWindow(), initial, [this](int current) { return colour(current); });
}

std::optional<FontAndEffect> DialogService::fontAndEffect(const styledtext::FontRecord& font,
                                                          const styledtext::TSmoothEffect& effect) {
  log_ << QStringLiteral("effect");
  std::optional<FontAndEffect> answer;
  if (takeQueued(effects_, answer) || headless_) return answer;
  styledtext::TSmoothFontDialog dialog;
  dialog.setAllowChangeFont(true);
  dialog.Font() = font;
  dialog.Effect().assign(effect);
  dialog.setQuestions({
      [this](int current) { return colour(current); },
      [this](const styledtext::FontRecord& current) { return this->font(current); },
      [this] {
        return openFileName(QString(), QString(),
                            QStringLiteral("图片 (*.bmp *.jpg *.jpeg *.png *.gif *.ico);;所有文件 (*.*)"));
      },
      [this](const QString& text) { message(text); },
  });
  if (!dialog.Execute(parentWindow())) return std::nullopt;
  return FontAndEffect{dialog.Font(), dialog.Effect()};
}

std::optional<int> DialogService::colour(int current) {
  log_ << QStringLiteral("colour");
  std::optional<int> answer;
  if (takeQueued(colours_, answer) || headless_) return answer;
  const QColor chosen = QColorDialog::getColor(styledtext::qtColour(current), parentWindow(), QStringLiteral("颜色"));
  if (!chosen.isValid()) return std::nullopt;
  return styledtext::storedColour(chosen);
}

std::optional<sheets::ColumnChoice> DialogService::sheetColumns(const sheets::Sheet& sheet) {
  log_ << QStringLiteral("columns");
  std::optional<sheets::ColumnChoice> answer;
  if (takeQueued(columns_, answer) || headless_) return answer;
  TSheetColumns dialog(sheet, parentWindow());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}

void DialogService::runDisplay(DisplayStage& display) {
  log_ << QStringLiteral("display: ") + display.windowTitle();
  std::function<void(DisplayStage&)> whileShown;
  if (!takeQueued(displays_, whileShown) && headless_) {
    display.close();  // saves, as every closing does
    return;
  }
  // Boxes raised while the display is up belong to it: parented to the draw
  // screen, a window manager would bring the draw screen to the front with them.
  // (With a console the boxes stay on the console's screen, away from both.)
  const QScopedValueRollback<QWidget*> parented(parent_, &display);
  const QScopedValueRollback<DisplayStage*> running(running_, &display);
  if (whileShown)
    QTimer::singleShot(0, &display, [&display, whileShown] {
      whileShown(display);
      if (display.isVisible()) display.close();
    });
  display.runFullScreen();
}

bool DialogService::question(const QString& message, bool warning, const QString& caption) {
  log_ << QStringLiteral("question: ") + message;
  bool yes = false;
  if (takeQueued(answers_, yes) || headless_) return yes;
  const auto buttons = QMessageBox::Yes | QMessageBox::No;
  const QString title = caption.isEmpty() ? QApplication::applicationName() : caption;
  // Yes is the default button: the operator answers from the keyboard on stage.
  const auto answer = warning ? QMessageBox::warning(parentWindow(), title, message, buttons, QMessageBox::Yes)
                              : QMessageBox::question(parentWindow(), title, message, buttons, QMessageBox::Yes);
  return answer == QMessageBox::Yes;
}

namespace {

// Swallows the space bar on the widgets it watches.
class SpaceBarFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space)
      return true;
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

bool DialogService::drawQuestion(const QString& message, const QString& caption) {
  log_ << QStringLiteral("question: ") + message;
  bool yes = false;
  if (takeQueued(answers_, yes) || headless_) return yes;
  QMessageBox box(QMessageBox::Question, caption.isEmpty() ? QApplication::applicationName() : caption, message,
                  QMessageBox::Yes | QMessageBox::No, parentWindow());
  // Named here, not by the translation, so that the Y/N keys answer whatever
  // translations are installed.
  box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
  box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  // A push button with the focus clicks on the space bar, and keys the focus
  // widget leaves go up to the box: the filter sits on both.
  SpaceBarFilter filter;
  box.installEventFilter(&filter);
  for (QAbstractButton* button : box.buttons()) button->installEventFilter(&filter);
  return box.exec() == QMessageBox::Yes;
}

DialogService::Choice DialogService::choice(const QString& message, const QString& caption) {
  log_ << QStringLiteral("question: ") + message;
  Choice answer = Choice::Cancel;
  if (takeQueued(choices_, answer) || headless_) return answer;
  const QString title = caption.isEmpty() ? QApplication::applicationName() : caption;
  switch (QMessageBox::question(parentWindow(), title, message,
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
      return Choice::Yes;
    case QMessageBox::No:
      return Choice::No;
    default:
      return Choice::Cancel;
  }
}

void DialogService::message(const QString& message, const QString& caption) {
  log_ << QStringLiteral("message: ") + message;
  if (headless_) return;
  QMessageBox::information(parentWindow(), caption.isEmpty() ? QApplication::applicationName() : caption, message);
}

}  // namespace screen

namespace screen {

bool DialogService::reportFailures(const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const base::FileError& error) {
    message(QString::fromStdString(error.what()));
  } catch (const base::ConversionError& error) {
    message(QString::fromStdString(error.what()));
  } catch (const base::UnstorableText& error) {
    message(QString::fromStdString(error.what()));
  }
  return false;
}

}  // namespace screen

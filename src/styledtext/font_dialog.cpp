#include "styledtext/font_dialog.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QIntValidator>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/font_substitutions.h"
#include "platform/qt_gbk.h"
#include "styledtext/qt_rasteriser.h"
#include "ui_font_dialog.h"

namespace styledtext {
namespace {

struct NamedColour {
  const char* name;
  int r, g, b;
};

// The sixteen basic colours in the order and with the names operators know from
// the classic font dialog.
constexpr std::array<NamedColour, 16> kBasicColours{{
    {"黑色", 0, 0, 0},
    {"褐红色", 128, 0, 0},
    {"绿色", 0, 128, 0},
    {"橄榄色", 128, 128, 0},
    {"深蓝色", 0, 0, 128},
    {"紫色", 128, 0, 128},
    {"深青色", 0, 128, 128},
    {"灰色", 128, 128, 128},
    {"银色", 192, 192, 192},
    {"红色", 255, 0, 0},
    {"酸橙色", 0, 255, 0},
    {"黄色", 255, 255, 0},
    {"蓝色", 0, 0, 255},
    {"紫红色", 255, 0, 255},
    {"水绿色", 0, 255, 255},
    {"白色", 255, 255, 255},
}};

constexpr std::array<int, 16> kSizes{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// Row order of the style list.
enum StyleRow { kRegular, kItalic, kBold, kBoldItalic };

constexpr int kMaxPreviewPixels = 60;  // bigger sizes are clipped in the preview, as they would not fit

QIcon swatch(const QColor& colour) {
  QPixmap pixmap(24, 14);
  pixmap.fill(colour);
  QPainter painter(&pixmap);
  painter.setPen(Qt::darkGray);
  painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
  return QIcon(pixmap);
}

}  // namespace

FontDialog::FontDialog(const styledtext::FontRecord& initial, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::FontDialog>()), initial_(initial) {
  ui_->setupUi(this);
  ui_->buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  ui_->buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  ui_->sizeEdit->setValidator(new QIntValidator(1, 999, this));
  fillLists();
  showFont(initial);

  connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(ui_->faceList, &QListWidget::currentTextChanged, this, [this](const QString& face) {
    if (!face.isEmpty()) ui_->faceEdit->setText(face);
  });
  connect(ui_->faceEdit, &QLineEdit::textEdited, this, &FontDialog::faceTyped);
  connect(ui_->faceEdit, &QLineEdit::textChanged, this, &FontDialog::updatePreview);
  connect(ui_->styleList, &QListWidget::currentTextChanged, this, [this](const QString& style) {
    ui_->styleEdit->setText(style);
    updatePreview();
  });
  connect(ui_->sizeList, &QListWidget::currentTextChanged, this, [this](const QString& size) {
    if (!size.isEmpty()) ui_->sizeEdit->setText(size);
  });
  connect(ui_->sizeEdit, &QLineEdit::textEdited, this, &FontDialog::sizeTyped);
  connect(ui_->sizeEdit, &QLineEdit::textChanged, this, &FontDialog::updatePreview);
  connect(ui_->underlineBox, &QCheckBox::toggled, this, &FontDialog::updatePreview);
  connect(ui_->strikeOutBox, &QCheckBox::toggled, this, &FontDialog::updatePreview);
  connect(ui_->colourBox, &QComboBox::currentIndexChanged, this, &FontDialog::colourActivated);
  updatePreview();
}

FontDialog::~FontDialog() = default;

void FontDialog::fillLists() {
  // The face names the data files carry come first: they are what an event's
  // files name, and the program maps each to an installed face with Chinese glyphs.
  QStringList faces;
  for (const auto& [face, installed] : platform::windowsFaceMap()) faces << face;
  for (const QString& family : QFontDatabase::families()) {
    if (!family.startsWith(u'@') && !faces.contains(family)) faces << family;
  }
  ui_->faceList->addItems(faces);
  ui_->styleList->addItems(
      {QStringLiteral("常规"), QStringLiteral("倾斜"), QStringLiteral("粗体"), QStringLiteral("粗偏斜体")});
  for (int size : kSizes) ui_->sizeList->addItem(QString::number(size));
  for (const NamedColour& c : kBasicColours) {
    const QColor colour(c.r, c.g, c.b);
    ui_->colourBox->addItem(swatch(colour), QString::fromUtf8(c.name), storedColour(colour));
  }
  ui_->colourBox->addItem(QStringLiteral("自定义…"));  // no data: opens the colour dialog
}

void FontDialog::showFont(const styledtext::FontRecord& font) {
  const QString face = platform::fromGbk(font.name);
  ui_->faceEdit->setText(face);
  const QList<QListWidgetItem*> faceMatch = ui_->faceList->findItems(face, Qt::MatchFixedString);
  if (!face.isEmpty() && !faceMatch.isEmpty()) ui_->faceList->setCurrentItem(faceMatch.constFirst());
  const int style = font.bold ? (font.italic ? kBoldItalic : kBold) : (font.italic ? kItalic : kRegular);
  ui_->styleList->setCurrentRow(style);
  ui_->styleEdit->setText(ui_->styleList->item(style)->text());
  ui_->sizeEdit->setText(QString::number(font.size));
  const QList<QListWidgetItem*> sizeMatch = ui_->sizeList->findItems(QString::number(font.size), Qt::MatchExactly);
  if (!sizeMatch.isEmpty()) ui_->sizeList->setCurrentItem(sizeMatch.constFirst());
  ui_->underlineBox->setChecked(font.underline);
  ui_->strikeOutBox->setChecked(font.strikeOut);
  selectColour(font.color);
}

void FontDialog::selectColour(int stored) {
  QComboBox* box = ui_->colourBox;
  const QSignalBlocker quiet(box);
  const int customItem = box->count() - 1;  // "自定义…"
  int index = box->findData(stored);
  if (index < 0) {
    // A colour outside the basic sixteen gets an entry of its own above "自定义…".
    index = static_cast<int>(kBasicColours.size());
    const QColor colour = qtColour(stored);
    const QString text = QStringLiteral("自定义 %1").arg(colour.name().toUpper());
    if (index == customItem) {
      box->insertItem(index, swatch(colour), text, stored);
    } else {
      box->setItemIcon(index, swatch(colour));
      box->setItemText(index, text);
      box->setItemData(index, stored);
    }
  }
  box->setCurrentIndex(index);
  lastColourIndex_ = index;
  updatePreview();
}

void FontDialog::colourActivated(int index) {
  QComboBox* box = ui_->colourBox;
  if (index < 0) return;
  if (box->itemData(index).isValid()) {
    lastColourIndex_ = index;
    updatePreview();
    return;
  }
  const int current = box->itemData(lastColourIndex_).toInt();
  const std::optional<int> chosen = chooseCustom_ ? chooseCustom_(current) : std::nullopt;
  selectColour(chosen ? *chosen : current);
}

void FontDialog::faceTyped(const QString& text) {
  if (text.isEmpty()) return;
  for (int row = 0; row < ui_->faceList->count(); ++row) {
    QListWidgetItem* item = ui_->faceList->item(row);
    if (item->text().startsWith(text, Qt::CaseInsensitive)) {
      const QSignalBlocker quiet(ui_->faceList);
      ui_->faceList->setCurrentItem(item);
      ui_->faceList->scrollToItem(item);
      return;
    }
  }
}

void FontDialog::sizeTyped(const QString& text) {
  const QList<QListWidgetItem*> match = ui_->sizeList->findItems(text, Qt::MatchExactly);
  const QSignalBlocker quiet(ui_->sizeList);
  if (match.isEmpty()) {
    ui_->sizeList->clearSelection();
  } else {
    ui_->sizeList->setCurrentItem(match.constFirst());
  }
}

styledtext::FontRecord FontDialog::font() const {
  styledtext::FontRecord font = initial_;
  font.name = platform::toGbk(ui_->faceEdit->text().trimmed());
  bool ok = false;
  const int size = ui_->sizeEdit->text().toInt(&ok);
  if (ok && size > 0) font.size = size;
  const int style = ui_->styleList->currentRow();
  font.bold = style == kBold || style == kBoldItalic;
  font.italic = style == kItalic || style == kBoldItalic;
  font.underline = ui_->underlineBox->isChecked();
  font.strikeOut = ui_->strikeOutBox->isChecked();
  const QVariant colour = ui_->colourBox->itemData(lastColourIndex_);
  if (colour.isValid()) font.color = colour.toInt();
  return font;
}

void FontDialog::updatePreview() {
  if (!ui_ || ui_->colourBox->count() == 0) return;
  const styledtext::FontRecord record = font();
  QFont shown = ui_->preview->font();
  if (!record.name.empty()) shown.setFamily(platform::fromGbk(record.name));
  int pixels = std::clamp(static_cast<int>(std::lround(record.size * 96.0 / 72.0)), 1, kMaxPreviewPixels);
  shown.setBold(record.bold);
  shown.setItalic(record.italic);
  shown.setUnderline(record.underline);
  shown.setStrikeOut(record.strikeOut);
  // A big size is shown as big as the box allows, so both lines stay readable.
  const QRect room = ui_->preview->contentsRect().adjusted(6, 4, -6, -4);
  for (; pixels > 8; --pixels) {
    shown.setPixelSize(pixels);
    const QSize needed = QFontMetrics(shown).size(0, ui_->preview->text());
    if (needed.width() <= room.width() && needed.height() <= room.height()) break;
  }
  shown.setPixelSize(pixels);
  ui_->preview->setFont(shown);
  const QColor colour = qtColour(record.color);
  // A pale colour shows on a dark ground, so white text can still be judged.
  const QColor ground = colour.lightness() > 200 ? QColor(64, 64, 64) : QColor(Qt::white);
  ui_->preview->setAutoFillBackground(true);
  QPalette palette = ui_->preview->palette();
  palette.setColor(QPalette::Window, ground);
  palette.setColor(QPalette::WindowText, colour);
  ui_->preview->setPalette(palette);
}

void FontDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  updatePreview();
}

std::optional<styledtext::FontRecord> FontDialog::choose(QWidget* parent, const styledtext::FontRecord& initial,
                                                         ColourQuestion colour) {
  FontDialog dialog(initial, parent);
  dialog.setCustomColourChooser(std::move(colour));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.font();
}

}  // namespace styledtext

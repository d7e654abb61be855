#include "sheets/xlsx_reader.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QXmlStreamReader>
#include <cmath>
#include <memory>
#include <optional>
#include <set>

#include "sheets/workbook_library.h"

namespace sheets {

namespace {

constexpr char kNotAWorkbook[] = "此文件不是有效的 Excel 工作簿(.xlsx),无法导入";
constexpr char kOldOrLocked[] =
    "此文件是旧格式(.xls)或设有密码的工作簿,无法导入。请在电子表格程序中另存为 .xlsx 或 .csv 后再导入";

// A workbook's zip archive, read through the workbook module.
class Archive {
 public:
  explicit Archive(const QString& path) : library_(workbookLibrary()), handle_(library_.openArchive(path)) {
    if (!handle_) throw SheetError(kNotAWorkbook);
  }
  ~Archive() { library_.closeArchive(handle_); }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // The bytes of one member of the archive; nothing when it is not there.
  std::optional<QByteArray> member(const QString& name) const {
    QByteArray bytes;
    switch (library_.readMember(handle_, name, bytes)) {
      case WorkbookLibrary::Member::Read:
        return bytes;
      case WorkbookLibrary::Member::Absent:
        return std::nullopt;
      case WorkbookLibrary::Member::Failed:
        break;
    }
    throw SheetError(kNotAWorkbook);
  }

 private:
  const WorkbookLibrary& library_;
  void* handle_;
};

// Text of the <t> elements inside the current element, leaving out phonetic
// runs (<rPh>), which the spreadsheet does not show.
QString textInside(QXmlStreamReader& xml) {
  QString text;
  const QString end = xml.name().toString();
  int phonetic = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      if (xml.name() == u"rPh") ++phonetic;
      if (xml.name() == u"t" && phonetic == 0) text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
    } else if (xml.isEndElement()) {
      if (xml.name() == u"rPh") --phonetic;
      if (xml.name() == end) break;
    }
  }
  return text;
}

std::vector<QString> sharedStrings(const Archive& archive) {
  std::vector<QString> strings;
  const std::optional<QByteArray> bytes = archive.member(QStringLiteral("xl/sharedStrings.xml"));
  if (!bytes) return strings;
  QXmlStreamReader xml(*bytes);
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == u"si") strings.push_back(textInside(xml));
  }
  if (xml.hasError()) throw SheetError(kNotAWorkbook);
  return strings;
}

bool isDateFormatCode(const QString& code) {
  bool quoted = false;
  bool bracket = false;
  for (const QChar c : code) {
    if (c == u'"')
      quoted = !quoted;
    else if (!quoted && c == u'[')
      bracket = true;
    else if (!quoted && c == u']')
      bracket = false;
    else if (!quoted && !bracket && QStringLiteral("dDyYhHsS").contains(c))
      return true;
  }
  return false;
}

bool isBuiltInDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

// For each cell style index (the s attribute): whether it formats a date.
std::vector<bool> dateStyles(const Archive& archive) {
  std::vector<bool> styles;
  const std::optional<QByteArray> bytes = archive.member(QStringLiteral("xl/styles.xml"));
  if (!bytes) return styles;
  std::set<int> customDates;
  QXmlStreamReader xml(*bytes);
  bool inCellFormats = false;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      if (xml.name() == u"numFmt") {
        if (isDateFormatCode(xml.attributes().value(QLatin1String("formatCode")).toString()))
          customDates.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt());
      } else if (xml.name() == u"cellXfs") {
        inCellFormats = true;
      } else if (inCellFormats && xml.name() == u"xf") {
        const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
        styles.push_back(isBuiltInDateFormat(id) || customDates.count(id) > 0);
      }
    } else if (xml.isEndElement() && xml.name() == u"cellXfs") {
      inCellFormats = false;
    }
  }
  return styles;
}

// The path of the first sheet inside the archive, from the workbook and its relations.
QString firstSheetPath(const Archive& archive, bool& date1904) {
  const std::optional<QByteArray> workbook = archive.member(QStringLiteral("xl/workbook.xml"));
  if (!workbook) throw SheetError(kNotAWorkbook);
  QString relationId;
  QXmlStreamReader xml(*workbook);
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == u"workbookPr") {
      const auto value = xml.attributes().value(QLatin1String("date1904"));
      date1904 = value == u"1" || value == u"true";
    } else if (xml.name() == u"sheet" && relationId.isEmpty()) {
      for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        if (attribute.name() == u"id") relationId = attribute.value().toString();
      }
    }
  }
  if (relationId.isEmpty()) throw SheetError("工作簿中没有工作表,无法导入");
  const std::optional<QByteArray> relations = archive.member(QStringLiteral("xl/_rels/workbook.xml.rels"));
  if (!relations) throw SheetError(kNotAWorkbook);
  QXmlStreamReader rels(*relations);
  while (!rels.atEnd()) {
    rels.readNext();
    if (rels.isStartElement() && rels.name() == u"Relationship" &&
        rels.attributes().value(QLatin1String("Id")) == relationId) {
      QString target = rels.attributes().value(QLatin1String("Target")).toString();
      if (target.startsWith(u'/')) return target.mid(1);
      return QStringLiteral("xl/") + target;
    }
  }
  throw SheetError(kNotAWorkbook);
}

// Zero-based column of a cell reference such as "AB12"; -1 when there is none.
int columnOf(QStringView reference) {
  int column = 0;
  int letters = 0;
  for (const QChar c : reference) {
    if (c < u'A' || c > u'Z') break;
    column = column * 26 + (c.unicode() - u'A' + 1);
    if (++letters > 3) return -1;
  }
  return letters == 0 ? -1 : column - 1;
}

QString dateText(double serial, bool date1904) {
  // Serial 60 is the leap day 1900 never had; serials after it are one day ahead.
  const QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 31);
  double days = std::floor(serial);
  if (!date1904 && days >= 60) days -= 1;
  const QDate date = base.addDays(static_cast<qint64>(days));
  const double fraction = serial - std::floor(serial);
  if (fraction <= 0) return date.toString(QStringLiteral("yyyy-MM-dd"));
  const int seconds = static_cast<int>(std::lround(fraction * 86400.0));
  return QDateTime(date, QTime(0, 0).addSecs(seconds)).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

// Columns are kept below this: a reference beyond it is a damaged sheet, not a roster.
constexpr int kMaxColumns = 16384;
constexpr std::size_t kMaxRows = 1048576;

}  // namespace

QString numberText(double value) {
  if (!std::isfinite(value)) return QString::number(value);
  if (std::fabs(value) < 1e15 && value == std::floor(value)) return QString::number(static_cast<qint64>(value));
  QString text = QString::number(value, 'g', 15);
  if (text.contains(u'e') && std::fabs(value) < 1e15) text = QString::number(value, 'f', 15);
  if (text.contains(u'.') && !text.contains(u'e')) {
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
  }
  return text;
}

Sheet readXlsx(const QString& path) {
  QFile probe(path);
  if (!probe.open(QIODevice::ReadOnly)) throw SheetError("无法打开文件: " + path.toStdString());
  const QByteArray head = probe.read(8);
  probe.close();
  if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) throw SheetError(kOldOrLocked);

  const Archive archive(path);
  bool date1904 = false;
  const QString sheetPath = firstSheetPath(archive, date1904);
  const std::vector<QString> strings = sharedStrings(archive);
  const std::vector<bool> dates = dateStyles(archive);
  const std::optional<QByteArray> bytes = archive.member(sheetPath);
  if (!bytes) throw SheetError(kNotAWorkbook);

  Sheet sheet;
  QXmlStreamReader xml(*bytes);
  std::vector<QString>* row = nullptr;
  int nextColumn = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == u"row") {
      const qsizetype number = xml.attributes().value(QLatin1String("r")).toLongLong();
      const std::size_t index = number > 0 ? static_cast<std::size_t>(number - 1) : sheet.rows.size();
      if (index < sheet.rows.size() || index >= kMaxRows) throw SheetError(kNotAWorkbook);
      sheet.rows.resize(index + 1);
      row = &sheet.rows.back();
      nextColumn = 0;
    } else if (xml.name() == u"c" && row) {
      const QXmlStreamAttributes attributes = xml.attributes();
      int column = columnOf(attributes.value(QLatin1String("r")));
      if (column < 0) column = nextColumn;
      if (column >= kMaxColumns) throw SheetError(kNotAWorkbook);
      nextColumn = column + 1;
      const QString type = attributes.value(QLatin1String("t")).toString();
      const std::size_t style = attributes.value(QLatin1String("s")).toUInt();
      QString raw;
      QString shown;
      bool hasValue = false;
      while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"v") {
          raw = xml.readElementText();
          hasValue = true;
        } else if (xml.isStartElement() && xml.name() == u"is") {
          shown = textInside(xml);
        } else if (xml.isEndElement() && xml.name() == u"c") {
          break;
        }
      }
      if (type == u"inlineStr") {
        // shown is already the inline text
      } else if (!hasValue) {
        shown.clear();
      } else if (type == u"s") {
        bool ok = false;
        const qulonglong index = raw.toULongLong(&ok);
        if (!ok || index >= strings.size()) throw SheetError(kNotAWorkbook);
        shown = strings[index];
      } else if (type == u"b") {
        shown = raw == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
      } else if (type == u"str" || type == u"e" || type == u"d") {
        shown = raw;
      } else {
        bool ok = false;
        const double value = raw.toDouble(&ok);
        if (!ok)
          shown = raw;
        else if (style < dates.size() && dates[style])
          shown = dateText(value, date1904);
        else
          shown = numberText(value);
      }
      if (static_cast<std::size_t>(column) >= row->size()) row->resize(static_cast<std::size_t>(column) + 1);
      (*row)[static_cast<std::size_t>(column)] = shown;
    }
  }
  if (xml.hasError()) throw SheetError(kNotAWorkbook);
  return sheet;
}

}  // namespace sheets

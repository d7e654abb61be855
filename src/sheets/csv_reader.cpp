#include "sheets/csv_reader.h"

#include <csv.h>

#include <QString>
#include <memory>

#include "base/gbk.h"

namespace sheets {

namespace {

struct Collector {
  bool utf8 = true;
  std::vector<std::vector<QString>> rows;
  std::vector<QString> row;

  QString decode(const char* bytes, std::size_t length) const {
    if (utf8) return QString::fromUtf8(bytes, static_cast<qsizetype>(length));
    return QString::fromStdString(base::gbkToUtf8(std::string_view(bytes, length)));
  }
};

void onField(void* field, std::size_t length, void* data) {
  auto* collector = static_cast<Collector*>(data);
  collector->row.push_back(collector->decode(static_cast<const char*>(field), length));
}

void onRowEnd(int, void* data) {
  auto* collector = static_cast<Collector*>(data);
  collector->rows.push_back(std::move(collector->row));
  collector->row.clear();
}

// Fields keep their blanks: libcsv would trim spaces and tabs otherwise.
int noBlank(unsigned char) { return 0; }

// Invalid sequences decode to U+FFFD, which encodes back to other bytes.
bool isValidUtf8(const QByteArray& bytes) { return QString::fromUtf8(bytes).toUtf8() == bytes; }

}  // namespace

Sheet readCsv(const QByteArray& input) {
  QByteArray bytes = input;
  Collector collector;
  if (bytes.startsWith("\xEF\xBB\xBF")) {
    bytes.remove(0, 3);
  } else {
    collector.utf8 = isValidUtf8(bytes);
  }
  // GBK's second bytes are 0x40 and above, so commas, quotes and line ends are
  // found correctly in the raw bytes of either encoding.
  csv_parser parser;
  if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) throw SheetError("内存不足,无法读取表格");
  std::unique_ptr<csv_parser, void (*)(csv_parser*)> guard(&parser, csv_free);
  csv_set_space_func(&parser, noBlank);
  const std::size_t length = static_cast<std::size_t>(bytes.size());
  if (csv_parse(&parser, bytes.constData(), length, onField, onRowEnd, &collector) != length) {
    throw SheetError("表格文件读取有错: 引号使用不正确(引号内的引号要写成两个引号)");
  }
  if (csv_fini(&parser, onField, onRowEnd, &collector) != 0) {
    throw SheetError("表格文件读取有错: 引号没有结束");
  }
  Sheet sheet;
  sheet.rows = std::move(collector.rows);
  return sheet;
}

int Sheet::columnCount() const {
  std::size_t widest = 0;
  for (const auto& row : rows) widest = std::max(widest, row.size());
  return static_cast<int>(widest);
}

QString Sheet::cell(std::size_t row, int column) const {
  if (row >= rows.size() || column < 0 || static_cast<std::size_t>(column) >= rows[row].size()) return {};
  return rows[row][static_cast<std::size_t>(column)];
}

}  // namespace sheets

// The kv_workbook module: libzip, libxlsxwriter and FreeXL behind
// WorkbookLibrary. Built apart from the program and loaded at the first workbook.
#include <freexl.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <QFile>
#include <memory>

#include "sheets/workbook_library.h"

namespace {

using sheets::WorkbookCell;
using sheets::WorkbookLibrary;

void* openArchive(const QString& path) {
  int error = 0;
  return zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
}

void closeArchive(void* archive) {
  if (archive) zip_discard(static_cast<zip_t*>(archive));
}

WorkbookLibrary::Member readMember(void* handle, const QString& name, QByteArray& bytes) {
  auto* archive = static_cast<zip_t*>(handle);
  const QByteArray utf8 = name.toUtf8();
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(archive, utf8.constData(), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
    return WorkbookLibrary::Member::Absent;
  std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen(archive, utf8.constData(), 0), zip_fclose);
  if (!file) return WorkbookLibrary::Member::Failed;
  bytes.resize(static_cast<qsizetype>(stat.size));
  zip_int64_t done = 0;
  while (done < static_cast<zip_int64_t>(stat.size)) {
    const zip_int64_t got = zip_fread(file.get(), bytes.data() + done, stat.size - static_cast<zip_uint64_t>(done));
    if (got <= 0) return WorkbookLibrary::Member::Failed;
    done += got;
  }
  return WorkbookLibrary::Member::Read;
}

bool writeSheet(const QString& file, const QString& sheetName, const std::vector<std::vector<WorkbookCell>>& rows,
                const std::vector<double>& widths) {
  lxw_workbook* workbook = workbook_new(QFile::encodeName(file).constData());
  if (!workbook) return false;
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.toUtf8().constData());
  lxw_format* bold = workbook_add_format(workbook);
  format_set_bold(bold);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    lxw_format* format = r == 0 ? bold : nullptr;
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const WorkbookCell& cell = rows[r][c];
      const auto row = static_cast<lxw_row_t>(r);
      const auto column = static_cast<lxw_col_t>(c);
      if (cell.isNumber)
        worksheet_write_number(sheet, row, column, cell.number, format);
      else
        worksheet_write_string(sheet, row, column, cell.text.toUtf8().constData(), format);
    }
  }
  for (std::size_t c = 0; c < widths.size(); ++c)
    worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), widths[c], nullptr);
  return workbook_close(workbook) == LXW_NO_ERROR;
}

// FreeXL gives the whole sheet's dimensions up front; a damaged header can
// claim more rows than the format allows, which would only fill the memory.
constexpr unsigned int kMostOldRows = 65536;

bool readOldSheet(const QString& path, std::vector<std::vector<WorkbookCell>>& rows, QString& error) {
  const void* handle = nullptr;
  const int opened = freexl_open(QFile::encodeName(path).constData(), &handle);
  std::unique_ptr<const void, int (*)(const void*)> guard(handle, freexl_close);
  unsigned int info = 0;
  if (opened == FREEXL_OK && freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
      info == FREEXL_BIFF_OBFUSCATED) {
    error = QStringLiteral("此工作簿设有密码,无法导入。请在电子表格程序中取消密码或另存为 .csv 后再导入");
    return false;
  }
  unsigned int rowCount = 0;
  unsigned short columnCount = 0;
  if (opened != FREEXL_OK || freexl_select_active_worksheet(handle, 0) != FREEXL_OK ||
      freexl_worksheet_dimensions(handle, &rowCount, &columnCount) != FREEXL_OK || rowCount > kMostOldRows) {
    error = QStringLiteral("此文件不是有效的 Excel 工作簿(.xls),无法导入");
    return false;
  }
  rows.assign(rowCount, {});
  for (unsigned int r = 0; r < rowCount; ++r) {
    rows[r].resize(columnCount);
    for (unsigned short c = 0; c < columnCount; ++c) {
      FreeXL_CellValue value;
      if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK) continue;
      WorkbookCell& cell = rows[r][c];
      switch (value.type) {
        case FREEXL_CELL_INT:
          cell.isNumber = true;
          cell.number = value.value.int_value;
          break;
        case FREEXL_CELL_DOUBLE:
          cell.isNumber = true;
          cell.number = value.value.double_value;
          break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
          if (value.value.text_value) cell.text = QString::fromUtf8(value.value.text_value);
          break;
        default:
          break;
      }
    }
  }
  return true;
}

const WorkbookLibrary kLibrary{openArchive, closeArchive, readMember, writeSheet, readOldSheet};

}  // namespace

extern "C" Q_DECL_EXPORT const WorkbookLibrary* kv_workbookLibrary() { return &kLibrary; }

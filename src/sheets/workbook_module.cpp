// The kv_workbook module: libzip and libxlsxwriter behind WorkbookLibrary.
// Built apart from the program and loaded at the first workbook.
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

const WorkbookLibrary kLibrary{openArchive, closeArchive, readMember, writeSheet};

}  // namespace

extern "C" Q_DECL_EXPORT const WorkbookLibrary* kv_workbookLibrary() { return &kLibrary; }

#pragma once
// A spreadsheet's first sheet as text: rows of cells, each cell the text the
// spreadsheet program shows for it. Rows may be ragged; a cell beyond a row's
// end is empty.
#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

namespace sheets {

struct Sheet {
  std::vector<std::vector<QString>> rows;

  int columnCount() const;
  QString cell(std::size_t row, int column) const;
};

// A file that cannot be read as a spreadsheet. what() is the message for the
// operator, in Chinese, UTF-8.
class SheetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  QString message() const { return QString::fromUtf8(what()); }
};

}  // namespace sheets

#include "sheets/workbook_library.h"

#include "platform/optional_module.h"
#include "sheets/sheet.h"

namespace sheets {

const WorkbookLibrary& workbookLibrary() {
  QString error;
  const auto get =
      reinterpret_cast<GetWorkbookLibrary>(platform::moduleEntry(platform::kWorkbookModule, kWorkbookLibraryEntry, &error));
  if (!get) throw SheetError(error.toStdString());
  return *get();
}

}  // namespace sheets

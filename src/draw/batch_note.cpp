#include "draw/batch_note.h"

#include <unistd.h>

#include "base/conversion_error.h"
#include "base/file_error.h"
#include "base/text_file.h"

namespace draw {

void noteBatch(const EventFolder& folder, std::size_t recordsBefore, const std::vector<std::string>& lines) {
  std::vector<std::string> note;
  note.reserve(lines.size() + 1);
  note.push_back(std::to_string(recordsBefore));
  note.insert(note.end(), lines.begin(), lines.end());
  base::rewriteLines(folder.batchNotePath(), note);
}

void dropBatchNote(const EventFolder& folder) noexcept { ::unlink(folder.batchNotePath().c_str()); }

std::optional<InterruptedBatch> takeInterruptedBatch(const EventFolder& folder, const DrawData& data) {
  std::optional<std::string> bytes;
  try {
    bytes = base::readFileIfExists(folder.batchNotePath());
  } catch (const base::FileError&) {
    // A note that cannot be read tells nothing; the record itself was loaded.
  }
  if (!bytes) return std::nullopt;
  dropBatchNote(folder);
  const std::vector<std::string> note = base::splitLines(*bytes);
  if (note.empty()) return std::nullopt;
  const auto before = base::parseInt(note[0]);
  if (!before || *before < 0 || static_cast<std::size_t>(*before) > data.winnerCount()) return std::nullopt;
  const auto first = static_cast<std::size_t>(*before) + 1;
  InterruptedBatch batch;
  batch.planned = note.size() - 1;
  if (data.winnerCount() - static_cast<std::size_t>(*before) > batch.planned) return std::nullopt;
  // The file's lines, not the table's: an empty cell reads back as " ".
  std::vector<std::string> records;
  try {
    records = base::splitLines(base::readFileIfExists(folder.winnersRecordPath()).value_or(""));
  } catch (const base::FileError&) {
    return std::nullopt;
  }
  if (records.size() != data.winnerCount()) return std::nullopt;
  for (std::size_t r = first; r <= data.winnerCount(); ++r) {
    if (records[r - 1] != note[r - first + 1]) return std::nullopt;
    batch.recorded.push_back(data.LuckNameGrid.row(r));
  }
  return batch;
}

}  // namespace draw

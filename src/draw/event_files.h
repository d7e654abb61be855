#pragma once
// The event files that the draw reads and writes besides the INI files: the
// roster, the winners record LuckName.txt and the draw log log.txt. Appends are
// synced before they return; the rewrite replaces the file atomically; every
// failure raises base::FileError.
#include <string_view>

#include "base/text_check.h"
#include "draw/draw_data.h"
#include "draw/event_folder.h"

namespace draw {

// Roster load: the draw part of the main settings load on the file the fallback
// rule opens, then the roster file of the draw mode into FirstName, the full and
// the working roster (display names masked when the mask is on), and an empty
// winners table. A missing roster file raises base::FileError before any table
// but the settings and the award table has changed. Returns what is wrong with
// the roster's text (a UTF-8 roster reads as garbled names), for the start-up to
// tell once.
base::TextProblem rosterLoad(const EventFolder& folder, DrawData& data);

// The winners record load (program start only), once start-up has sorted the
// lines of LuckName.txt (winners_record_check.h): every record is appended to the
// winners table and counted. A record whose award serial names no award row, or
// whose roster serial names no person (an award removed or a roster shortened
// after the draw), stays in the winners table and counts nowhere.
void takeWinnerRecords(DrawData& data, std::vector<Table::Row> records);

void appendWinnerRecord(const EventFolder& folder, std::string_view line);
void truncateWinnersRecord(const EventFolder& folder);
// Replaces LuckName.txt by the lines of every record of the winners table.
void rewriteWinnersRecord(const EventFolder& folder, const DrawData& data);

void appendLogLine(const EventFolder& folder, std::string_view text);
// People rolling header block of award row r: the rule of 75 "-", the dated
// line with the award name, 总名额 and prize, and an empty line.
void appendAwardHeader(const EventFolder& folder, const DrawData& data, std::size_t row);

}  // namespace draw

#pragma once
// The winners export: a text file listing, award by award, who won.
#include <filesystem>
#include <string>

#include "draw/draw_data.h"

namespace draw {

// The file the export writes for the name chosen in the save dialog: the name
// itself when it ends in ".txt" (in any case, as file names are compared), else
// the name with ".txt" appended.
std::filesystem::path exportFileName(const std::filesystem::path& chosen);

// The export text (GBK, CR LF): for every award row with winners, the line
// award name + 已抽取人数 + "名(奖品:" prize ")", one line per winner of that
// award in draw order (the unmasked name) and an empty line. Raises
// base::ConversionError for a damaged drawn count.
std::string winnersExportText(const DrawData& data);

// Writes the export to exportFileName(chosen), replacing the file atomically, and
// returns the path written.
std::filesystem::path exportWinners(const DrawData& data, const std::filesystem::path& chosen);

}  // namespace draw

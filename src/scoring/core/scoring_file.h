#pragma once
// The scoring file: where it is, the blank file the setup dialog writes, and the
// parsed file that one refresh reads every score from. Judges type their scores
// after the equals signs in a text editor; the displays only ever read it.
#include <filesystem>
#include <string>
#include <vector>

#include "base/ini_document.h"
#include "scoring/core/programme_lists.h"

namespace scoring {

// data\评分文件.txt in the program directory.
std::filesystem::path defaultScoringFile(const std::filesystem::path& programDir);
// A stored GBK path in the file system: absolute as it stands, relative to the program directory otherwise.
std::filesystem::path storedPathToFs(const std::filesystem::path& programDir, const std::string& gbkPath);

// The path a display takes when it loads the lists: the configured file when it
// exists, else the default file.
std::filesystem::path configuredScoringFile(const std::filesystem::path& programDir, const std::string& storedGbkPath);
// The file one reading opens: `path` when it exists, else the same name in the
// program directory's "data" folder (a relative path below it, an absolute
// one by its file name), else nothing (empty path: every value reads empty).
std::filesystem::path readingScoringFile(const std::filesystem::path& programDir, const std::filesystem::path& path);

// "a.txt" stays; anything else not ending in exactly ".txt" gets ".txt" appended
// (so "结果.TXT" becomes "结果.TXT.txt").
std::string withTxtSuffix(const std::string& name);

// The blank scoring file, byte for byte: the six header lines of the layout,
// then [评分数据] 数据格式, [当前节目] 编号=1 and one empty entry per programme and
// judge pair in the layout's order. GBK, CR LF. Rows with an empty name are skipped.
std::string blankScoringFile(const std::vector<Programme>& programmes, const std::vector<std::string>& judges,
                             FileLayout layout);

// The section name of a programme in the by-programme layout: order "." name.
std::string programmeLabel(const Programme& programme);

// One parse of the scoring file, asked for every score of a refresh.
class ScoreSheet {
 public:
  ScoreSheet() = default;
  // Parses the file's bytes (a missing file reads as an empty sheet).
  static ScoreSheet parse(std::string_view bytes);
  // Reads the file; an empty path or a file that cannot be read gives an empty sheet.
  // A file that is not GBK text (saved as UTF-8, binary bytes) gives an empty
  // sheet too, with its problem: read as it is, every score would be missing.
  static ScoreSheet load(const std::filesystem::path& file);

  // Why the file could not be read as a scoring file (UTF-8, naming it); empty when it could.
  const std::string& problem() const { return problem_; }

  // 数据格式: any non-zero integer is the by-judge layout; missing or not an integer, by programme.
  FileLayout layout() const;
  // 编号 under [当前节目] as written, trimmed; empty when missing.
  std::string currentNumber() const;
  // The trimmed score text of a judge for a programme in the file's layout; empty when not found.
  std::string score(const Programme& programme, const std::string& judge) const;
  // The trimmed text at section/key; empty when missing.
  std::string text(const std::string& section, const std::string& key) const;

 private:
  base::IniDocument document_;
  FileLayout layout_ = FileLayout::ByProgramme;
  std::string problem_;
};

}  // namespace scoring

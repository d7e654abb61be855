#pragma once
// The programmes, the judges and the averaging settings that the setup dialog
// stores in Config.ini (sections "节目设置" and "评委设置"), and where a judge's
// photo lives. Every reader of the lists goes through here, so that the setup
// dialog, both displays and the headless tool agree on what a list holds.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"

namespace scoring {

// Section and key names (GBK).
extern const std::string kProgrammeSection;  // 节目设置
extern const std::string kJudgeSection;      // 评委设置
extern const std::string kDropHighestKey;    // 去最高分
extern const std::string kDropLowestKey;     // 去最低分
extern const std::string kLayoutKey;         // 导出方式
extern const std::string kFilePathKey;       // 文件地址
extern const std::string kFullScoreKey;      // 满分

inline constexpr int kMaxProgrammes = 30;
inline constexpr int kMaxJudges = 20;

struct Programme {
  std::string order;      // the "顺序" cell as stored: decimal text
  std::string name;       // GBK; never empty in a list read from the file
  std::string performer;  // GBK, may be empty

  bool operator==(const Programme&) const = default;
};

// The lists read with keys "1", "2", … up to the first missing or empty one.
// Cells are trimmed of surrounding blanks; a row whose name is empty ends nothing
// but is no programme (or judge) and is left out.
std::vector<Programme> readProgrammes(const base::IniFile& config);
std::vector<std::string> readJudges(const base::IniFile& config);

enum class FileLayout { ByProgramme = 0, ByJudge = 1 };

// What the setup dialog edits, in stored form.
struct ScoringSetup {
  std::vector<Programme> programmes;
  std::vector<std::string> judges;
  bool dropHighest = false;
  bool dropLowest = false;
  FileLayout layout = FileLayout::ByProgramme;
  std::string filePath;          // GBK, as typed or chosen
  std::string fullScore = "10";  // the text of the full score field
};

// The lists as they are stored: rows with an empty name left out, the
// programmes' order numbers renumbered 1, 2, … Generating a blank file from
// these keeps its sections in step with what the displays read back.
std::vector<Programme> storedProgrammes(const std::vector<Programme>& rows);
std::vector<std::string> storedJudges(const std::vector<std::string>& rows);

// The setup as the dialog reads it (drop switches default to false).
ScoringSetup readSetup(const base::IniFile& config);

// Stores the setup the way the dialog's OK does: keys "1" … "100" of both list
// sections deleted, then the non-empty rows under consecutive keys with the
// programmes' order numbers renumbered 1, 2, … (so a cleared row in the middle
// never hides the rows after it from the readers), then the five settings. The
// writes reach the file together. Raises base::FileError.
void storeSetup(base::IniFile& config, const ScoringSetup& setup);

// The two drop switches as the displays read them (default on).
struct DropRules {
  bool highest = true;
  bool lowest = true;
};
DropRules readDisplayDropRules(const base::IniFile& config);

// The full score as the ranking display reads it: a decimal number, 10 when it
// is missing, not a number, or not above 0 (a full score of 0 would make every
// bar infinitely tall).
double readFullScore(const base::IniFile& config);

// Why a programme or judge name cannot stand in the scoring file, where it is a
// section name or a key: "[" and "]" end or start a section line, "=" splits a
// key from its score, a leading ";" makes the line a comment, a line break cuts
// the line, and bytes that are no GB18030 character are no name. The answer
// (UTF-8, for the operator) says which character, e.g. 不能含有"="; empty when
// the name can stand. The name is trimmed as the setup stores it.
std::string scoringNameProblem(std::string_view gbkName);

// A judge name can stand as a file name in "manager": not empty, no separator,
// no "..", no control character.
bool isSafeJudgeName(const std::string& gbkName);
// manager\<name>.jpg in the program directory; nothing for an unsafe name, so a
// stored name never leads a photo read or write outside that folder.
std::optional<std::filesystem::path> judgePhotoPath(const std::filesystem::path& programDir,
                                                    const std::string& gbkName);
// The judge's photo when it exists, else image\sample.jpg when that exists, else nothing.
std::optional<std::filesystem::path> judgePhotoOrSample(const std::filesystem::path& programDir,
                                                        const std::string& gbkName);

}  // namespace scoring

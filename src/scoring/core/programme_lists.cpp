#include "scoring/core/programme_lists.h"

#include "base/conversion_error.h"
#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/paths.h"

namespace scoring {

namespace {
using base::gbk;

std::string trimmed(std::string_view text) {
  std::size_t start = 0;
  std::size_t end = text.size();
  while (start < end && static_cast<unsigned char>(text[start]) <= ' ') ++start;
  while (end > start && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return std::string(text.substr(start, end - start));
}

// The rows of a list section: keys "1", "2", … while their value is not empty.
template <typename Take>
void readRows(const base::IniFile& config, const std::string& section, std::size_t columns, Take take) {
  for (int key = 1;; ++key) {
    std::string value = config.readString(section, std::to_string(key), "");
    if (value.empty()) return;
    std::vector<std::string> cells = base::readDelimitedRow(value, columns);
    cells.resize(columns);
    for (auto& cell : cells) cell = trimmed(cell);
    take(std::move(cells));
  }
}
}  // namespace

const std::string kProgrammeSection = gbk("节目设置");
const std::string kJudgeSection = gbk("评委设置");
const std::string kDropHighestKey = gbk("去最高分");
const std::string kDropLowestKey = gbk("去最低分");
const std::string kLayoutKey = gbk("导出方式");
const std::string kFilePathKey = gbk("文件地址");
const std::string kFullScoreKey = gbk("满分");

std::vector<Programme> readProgrammes(const base::IniFile& config) {
  std::vector<Programme> programmes;
  readRows(config, kProgrammeSection, 3, [&](std::vector<std::string> cells) {
    if (cells[1].empty()) return;
    programmes.push_back({std::move(cells[0]), std::move(cells[1]), std::move(cells[2])});
  });
  return programmes;
}

std::vector<std::string> readJudges(const base::IniFile& config) {
  std::vector<std::string> judges;
  readRows(config, kJudgeSection, 1, [&](std::vector<std::string> cells) {
    if (!cells[0].empty()) judges.push_back(std::move(cells[0]));
  });
  return judges;
}

ScoringSetup readSetup(const base::IniFile& config) {
  ScoringSetup setup;
  setup.programmes = readProgrammes(config);
  setup.judges = readJudges(config);
  setup.dropHighest = config.readBool(kProgrammeSection, kDropHighestKey, false);
  setup.dropLowest = config.readBool(kProgrammeSection, kDropLowestKey, false);
  setup.layout = config.readInt(kProgrammeSection, kLayoutKey, 0) != 0 ? FileLayout::ByJudge : FileLayout::ByProgramme;
  setup.filePath = config.readString(kProgrammeSection, kFilePathKey, "");
  setup.fullScore = config.readString(kProgrammeSection, kFullScoreKey, "10");
  return setup;
}

std::vector<Programme> storedProgrammes(const std::vector<Programme>& rows) {
  std::vector<Programme> stored;
  for (const Programme& programme : rows)
    if (!programme.name.empty())
      stored.push_back({std::to_string(stored.size() + 1), programme.name, programme.performer});
  return stored;
}

std::vector<std::string> storedJudges(const std::vector<std::string>& rows) {
  std::vector<std::string> stored;
  for (const std::string& judge : rows)
    if (!judge.empty()) stored.push_back(judge);
  return stored;
}

void storeSetup(base::IniFile& config, const ScoringSetup& setup) {
  base::IniBatch batch(config);
  for (int key = 1; key <= 100; ++key) config.deleteKey(kProgrammeSection, std::to_string(key));
  for (const Programme& programme : storedProgrammes(setup.programmes))
    config.writeString(kProgrammeSection, programme.order,
                       base::writeDelimitedRow({programme.order, programme.name, programme.performer}));
  for (int key = 1; key <= 100; ++key) config.deleteKey(kJudgeSection, std::to_string(key));
  int next = 1;
  for (const std::string& judge : storedJudges(setup.judges))
    config.writeString(kJudgeSection, std::to_string(next++), base::writeDelimitedRow({judge}));
  config.writeBool(kProgrammeSection, kDropHighestKey, setup.dropHighest);
  config.writeBool(kProgrammeSection, kDropLowestKey, setup.dropLowest);
  config.writeInt(kProgrammeSection, kLayoutKey, static_cast<int>(setup.layout));
  config.writeString(kProgrammeSection, kFilePathKey, setup.filePath);
  config.writeString(kProgrammeSection, kFullScoreKey, setup.fullScore);
}

DropRules readDisplayDropRules(const base::IniFile& config) {
  return {config.readBool(kProgrammeSection, kDropHighestKey, true),
          config.readBool(kProgrammeSection, kDropLowestKey, true)};
}

double readFullScore(const base::IniFile& config) {
  std::optional<double> value = base::parseDouble(config.readString(kProgrammeSection, kFullScoreKey, "10"));
  return value && *value > 0 ? *value : 10.0;
}

std::string scoringNameProblem(std::string_view gbkName) {
  if (!gbkName.empty() && gbkName.front() == ';') return "不能以\";\"开头";
  for (std::size_t pos = 0; pos < gbkName.size(); pos += base::charLengthAt(gbkName, pos)) {
    switch (gbkName[pos]) {
      case '=':
        return "不能含有\"=\"";
      case '[':
        return "不能含有\"[\"";
      case ']':
        return "不能含有\"]\"";
      case '\r':
      case '\n':
        return "不能含有换行";
      default:
        break;
    }
  }
  if (!base::isValidGb18030(gbkName)) return "含有无法保存的字符(不是GB18030编码的文字)";
  return {};
}

bool isSafeJudgeName(const std::string& gbkName) {
  if (base::isUnsafeBareName(gbkName)) return false;
  for (unsigned char c : gbkName)
    if (c < 0x20 || c == 0x7F) return false;
  return true;
}

std::optional<std::filesystem::path> judgePhotoPath(const std::filesystem::path& programDir,
                                                    const std::string& gbkName) {
  if (!isSafeJudgeName(gbkName)) return std::nullopt;
  return programDir / "manager" / (base::gbkToUtf8(gbkName) + ".jpg");
}

std::optional<std::filesystem::path> judgePhotoOrSample(const std::filesystem::path& programDir,
                                                        const std::string& gbkName) {
  if (auto photo = judgePhotoPath(programDir, gbkName); photo && base::isFile(*photo)) return photo;
  std::filesystem::path sample = programDir / "image" / "sample.jpg";
  if (base::isFile(sample)) return sample;
  return std::nullopt;
}

}  // namespace scoring

#include "scoring/core/scoring_file.h"

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "base/paths.h"
#include "base/text_check.h"
#include "base/text_file.h"

namespace scoring {

namespace fs = std::filesystem;

namespace {
using base::gbk;

const std::string& dataSection() {
  static const std::string name = gbk("评分数据");
  return name;
}
const std::string& layoutKey() {
  static const std::string name = gbk("数据格式");
  return name;
}
const std::string& currentSection() {
  static const std::string name = gbk("当前节目");
  return name;
}
const std::string& numberKey() {
  static const std::string name = gbk("编号");
  return name;
}

bool isAbsoluteGbk(const std::string& gbkPath) { return !gbkPath.empty() && (gbkPath[0] == '/' || gbkPath[0] == '\\'); }
}  // namespace

fs::path defaultScoringFile(const fs::path& programDir) { return programDir / "data" / "评分文件.txt"; }

fs::path storedPathToFs(const fs::path& programDir, const std::string& gbkPath) {
  if (gbkPath.empty()) return {};
  if (isAbsoluteGbk(gbkPath)) return fs::path(base::gbkToUtf8(gbkPath));
  return base::joinGbk(programDir, gbkPath);
}

fs::path configuredScoringFile(const fs::path& programDir, const std::string& storedGbkPath) {
  fs::path stored = storedPathToFs(programDir, storedGbkPath);
  if (base::isFile(stored)) return stored;
  return defaultScoringFile(programDir);
}

fs::path readingScoringFile(const fs::path& programDir, const fs::path& path) {
  if (base::isFile(path)) return path;
  if (path.empty()) return {};
  fs::path inData = path.is_absolute() ? programDir / "data" / path.filename() : programDir / "data" / path;
  if (base::isFile(inData)) return inData;
  return {};
}

std::string withTxtSuffix(const std::string& name) {
  if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".txt") == 0) return name;
  return name + ".txt";
}

std::string programmeLabel(const Programme& programme) { return programme.order + "." + programme.name; }

std::string blankScoringFile(const std::vector<Programme>& programmes, const std::vector<std::string>& judges,
                             FileLayout layout) {
  const bool byJudge = layout == FileLayout::ByJudge;
  std::string out;
  auto line = [&out](const std::string& text) {
    out += text;
    out += "\r\n";
  };
  line(gbk(byJudge ? "注意事项:1. 以下内容除等号后面内容可修改外,其它内容请勿修改,否则可能会造成数据抓取不到;"
                   : "注意事项:1. 以下内容除等号后面内容可修改外,其它内容请勿修改,否则会造成数据抓取不到;"));
  line(gbk("         2. 分数请直接填在对应的等号后面,注意必须是数字;"));
  line(gbk("         3. 要展示打分明细，请修改当前节目编号;"));
  line(gbk("         4. 修改完毕请注意保存,保存后数据才会展示在界面中;"));
  line(std::string(92, '-'));
  line("");

  base::IniDocument entries;
  entries.setValue(dataSection(), layoutKey(), byJudge ? "1" : "0");
  entries.setValue(currentSection(), numberKey(), "1");
  if (byJudge) {
    for (const std::string& judge : judges) {
      if (judge.empty()) continue;
      for (const Programme& programme : programmes)
        if (!programme.name.empty()) entries.setValue(judge, programme.order, "");
    }
  } else {
    for (const Programme& programme : programmes) {
      if (programme.name.empty()) continue;
      for (const std::string& judge : judges)
        if (!judge.empty()) entries.setValue(programmeLabel(programme), judge, "");
    }
  }
  return out + entries.serialize();
}

ScoreSheet ScoreSheet::parse(std::string_view bytes) {
  ScoreSheet sheet;
  sheet.document_ = base::IniDocument::parse(bytes);
  if (auto value = sheet.document_.value(dataSection(), layoutKey())) {
    std::optional<int> number = base::parseInt(*value);
    if (number && *number != 0) sheet.layout_ = FileLayout::ByJudge;
  }
  return sheet;
}

ScoreSheet ScoreSheet::load(const fs::path& file) {
  if (file.empty()) return {};
  try {
    if (auto bytes = base::readFileIfExists(file)) {
      if (const base::TextProblem problem = base::findTextProblem(*bytes); problem != base::TextProblem::None) {
        ScoreSheet unreadable;
        unreadable.problem_ = "评分文件 " + file.string() + " 读不出分数:" + base::describeTextProblem(problem) +
                              "。请把它另存为GBK编码后再打开评分展示。";
        return unreadable;
      }
      return parse(*bytes);
    }
  } catch (const std::exception&) {
    // A file the editor holds half-written or locked reads as empty; the next reading corrects it.
  }
  return {};
}

FileLayout ScoreSheet::layout() const { return layout_; }

std::string ScoreSheet::currentNumber() const { return text(currentSection(), numberKey()); }

std::string ScoreSheet::text(const std::string& section, const std::string& key) const {
  return document_.value(section, key).value_or(std::string());
}

std::string ScoreSheet::score(const Programme& programme, const std::string& judge) const {
  if (layout_ == FileLayout::ByJudge) return text(judge, programme.order);
  return text(programmeLabel(programme), judge);
}

}  // namespace scoring

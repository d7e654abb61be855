#include "draw/settings_check.h"

#include "base/file_error.h"
#include "base/gbk.h"
#include "base/ini_document.h"
#include "base/text_check.h"
#include "base/text_file.h"
#include "draw/torn_lines.h"

namespace draw {

namespace fs = std::filesystem;

namespace {

// Sections every settings file of this program holds some of (UTF-8 names).
constexpr const char* kOwnSections[] = {
    "程序运行情况", "窗体样式",   "背景",          "TitlePic", "界面设置", "MainTitle", "SecTitle",  "ActionHint",
    "PrizeName",    "HonorGuest", "RateProgress",  "ItemName", "TimeShow", "PrizePic",  "S1",        "L31",
    "NamePic1",     "图片抽奖",   "奖项设置",      "弃奖",     "补奖",     "内定设置",  "内定设置B", "奖项分组",
    "奖项分组设定", "音效设置",   "ShowPrizeName", "节目设置", "评委设置", "评分展示",  "评分细节",  "未完成操作"};

bool holdsOwnSection(const base::IniDocument& document) {
  for (const char* name : kOwnSections)
    if (document.hasSection(base::utf8ToGbk(name))) return true;
  return false;
}

}  // namespace

std::optional<SettingsProblem> findSettingsProblem(const base::ConfigFiles& files) {
  SettingsProblem problem;
  std::error_code ec;
  problem.file = files.configPath();
  if (!fs::exists(problem.file, ec)) {
    problem.file = files.templatePath();
    problem.isTemplate = true;
  }
  std::optional<std::string> bytes;
  try {
    bytes = base::readFileIfExists(problem.file);
  } catch (const base::FileError&) {
    return std::nullopt;
  }
  if (!bytes) return std::nullopt;
  if (const base::TextProblem text = base::findTextProblem(*bytes); text != base::TextProblem::None) {
    problem.reason = base::describeTextProblem(text);
    return problem;
  }
  if (!holdsOwnSection(base::IniDocument::parse(*bytes))) {
    problem.reason = bytes->empty() ? "文件是空的" : "文件中没有本程序的任何设置";
    problem.reason += "(可能写入时被中断,或被其它内容覆盖)";
    return problem;
  }
  return std::nullopt;
}

std::string settingsQuestion(const SettingsProblem& problem, const fs::path& aside) {
  const std::string name = problem.file.filename().string();
  std::string text = (problem.isTemplate ? "模板文件 " : "设置文件 ") + name +
                     " 不是本程序的设置文件:" + problem.reason + "。\n原文件已另存为 " + aside.filename().string() +
                     "。\n\n";
  if (problem.isTemplate)
    text += "是否不用模板,以默认设置开始(奖项、名单等需要重新设置)?\n选\"否\"将退出程序," + name + " 保持原样。";
  else
    text += "是否改用模板 SysConfig.ini 的设置重新开始(奖项等需要核对)?\n选\"否\"将退出程序," + name +
            " 保持原样,可以用备份恢复它后再启动。";
  return base::utf8ToGbk(text);
}

void dropDamagedSettings(const SettingsProblem& problem) {
  std::error_code ec;
  fs::remove(problem.file, ec);
  if (ec) throw base::FileError(base::FileError::Kind::CannotWrite, problem.file, base::describeError(ec));
}

bool settleSettingsFile(const base::ConfigFiles& files, const std::function<bool(const std::string&)>& ask,
                        const std::function<void(const std::string&)>& tell) {
  const std::optional<SettingsProblem> problem = findSettingsProblem(files);
  if (!problem) return true;
  try {
    const fs::path aside = asideNameFor(problem->file);
    keepAside(aside, base::readFile(problem->file));
    if (!ask(settingsQuestion(*problem, aside))) return false;
    dropDamagedSettings(*problem);
  } catch (const base::FileError& error) {
    tell(base::utf8ToGbk(problem->file.filename().string() + " 不是本程序的设置文件(" + problem->reason +
                         "),但无法另存一份副本:" + error.what() + "\n程序将退出,文件保持原样。"));
    return false;
  }
  return true;
}

}  // namespace draw

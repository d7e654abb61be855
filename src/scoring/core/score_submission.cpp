#include "scoring/core/score_submission.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>

#include "base/gbk.h"
#include "base/ini_document.h"
#include "base/text_check.h"
#include "base/text_file.h"
#include "scoring/core/scoring_file.h"

namespace scoring {

namespace fs = std::filesystem;

namespace {
std::string_view withoutSpacesAndTabs(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Digits with at most one decimal point and a digit somewhere: what a phone's
// number field sends. Anything else (signs, exponents, "8,5", "inf") is no score.
bool isPlainDecimal(std::string_view text) {
  bool digit = false, point = false;
  for (char c : text) {
    if (c >= '0' && c <= '9')
      digit = true;
    else if (c == '.' && !point)
      point = true;
    else
      return false;
  }
  return digit && text.size() <= 16;
}
}  // namespace

CheckedScore checkScore(std::string_view text, double fullScore, double step) {
  text = withoutSpacesAndTabs(text);
  if (!isPlainDecimal(text)) return {};
  const double score = std::strtod(std::string(text).c_str(), nullptr);
  if (!(score >= 0) || score > fullScore + 1e-9) return {ScoreCheck::OutOfRange, {}};
  const double steps = score / step;
  if (std::fabs(steps - std::round(steps)) > 1e-6) return {ScoreCheck::OffStep, {}};
  return {ScoreCheck::Ok, formatScore(score)};
}

std::string formatScore(double score) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4f", score);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

ScoringFolderLock::ScoringFolderLock(const fs::path& file) {
  fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ >= 0)
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

ScoringFolderLock::~ScoringFolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

void writeJudgeScore(const fs::path& file, const Programme& programme, const std::string& judge,
                     const std::string& scoreText) {
  ScoringFolderLock lock(file);
  // Each round reads the file as it is now; a round loses only to a writer that
  // replaced the file between its read and its rename, and then runs again.
  for (int round = 0; round < 50; ++round) {
    std::optional<std::string> bytes = base::readFileIfExists(file);
    if (!bytes) throw ScoringFileProblem("评分文件不存在,请工作人员先产生评分文件。");
    if (base::findTextProblem(*bytes) != base::TextProblem::None)
      throw ScoringFileProblem("评分文件不是GBK文本,分数无法写入,请联系工作人员。");
    base::IniDocument document = base::IniDocument::parse(*bytes);
    const bool byJudge = ScoreSheet::parse(*bytes).layout() == FileLayout::ByJudge;
    if (byJudge)
      document.setValue(judge, programme.order, scoreText);
    else
      document.setValue(programmeLabel(programme), judge, scoreText);
    if (base::replaceFileIfUnchanged(file, document.serialize(), bytes)) return;
  }
  throw ScoringFileProblem("评分文件正被不停地改写,分数没有写入,请稍后再提交。");
}

}  // namespace scoring

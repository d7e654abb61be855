#include "scoring/core/judge_access.h"

#include <sys/random.h>

#include <cerrno>
#include <stdexcept>

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "scoring/core/programme_lists.h"

namespace scoring {

const std::string kPhoneSection = base::utf8ToGbk("手机评分");
const std::string kTokenSection = base::utf8ToGbk("评委令牌");
const std::string kLockedSection = base::utf8ToGbk("评委锁定");
const std::string kClosedSection = base::utf8ToGbk("截止评分");
const std::string kPortKey = base::utf8ToGbk("端口");
const std::string kStepKey = base::utf8ToGbk("分数步长");

namespace {
bool isHexToken(std::string_view token) {
  if (token.size() != kTokenLength) return false;
  for (char c : token)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}
}  // namespace

std::string newJudgeToken() {
  unsigned char bytes[kTokenLength / 2];
  std::size_t filled = 0;
  while (filled < sizeof bytes) {
    ssize_t got = ::getrandom(bytes + filled, sizeof bytes - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("系统没有给出随机数,无法产生评委链接。");
    }
    filled += static_cast<std::size_t>(got);
  }
  static const char digits[] = "0123456789abcdef";
  std::string token;
  for (unsigned char b : bytes) {
    token += digits[b >> 4];
    token += digits[b & 15];
  }
  return token;
}

PhoneSettings readPhoneSettings(const base::IniFile& config) {
  PhoneSettings settings;
  int port = config.readInt(kPhoneSection, kPortKey, kDefaultPort);
  if (port > 0 && port < 65536) settings.port = port;
  std::string stepText = config.readString(kPhoneSection, kStepKey, "0.1");
  if (auto step = base::parseDouble(stepText); step && *step > 0 && *step <= 100) {
    settings.step = *step;
    settings.stepText = stepText;
  }
  return settings;
}

void storePhoneSettings(base::IniFile& config, int port, std::string_view stepText) {
  base::IniBatch batch(config);
  config.writeInt(kPhoneSection, kPortKey, port);
  config.writeString(kPhoneSection, kStepKey, stepText);
}

std::vector<PhoneJudge> readPhoneJudges(const base::IniFile& config) {
  std::vector<PhoneJudge> judges;
  for (const std::string& name : readJudges(config)) {
    PhoneJudge judge{name, config.readString(kTokenSection, name, ""), config.readBool(kLockedSection, name, false)};
    if (!isHexToken(judge.token)) judge.token.clear();
    judges.push_back(std::move(judge));
  }
  return judges;
}

void ensureJudgeTokens(base::IniFile& config) {
  base::IniBatch batch(config);
  for (const PhoneJudge& judge : readPhoneJudges(config))
    if (judge.token.empty()) config.writeString(kTokenSection, judge.name, newJudgeToken());
}

std::string renewJudgeToken(base::IniFile& config, const std::string& judge) {
  std::string token = newJudgeToken();
  config.writeString(kTokenSection, judge, token);
  return token;
}

void setJudgeLocked(base::IniFile& config, const std::string& judge, bool locked) {
  if (locked)
    config.writeString(kLockedSection, judge, "1");
  else
    config.deleteKey(kLockedSection, judge);
}

bool isProgrammeClosed(const base::IniFile& config, const std::string& order) {
  return config.readBool(kClosedSection, order, false);
}

void setProgrammeClosed(base::IniFile& config, const std::string& order, bool closed) {
  if (closed)
    config.writeString(kClosedSection, order, "1");
  else
    config.deleteKey(kClosedSection, order);
}

std::optional<PhoneJudge> judgeByToken(const std::vector<PhoneJudge>& judges, std::string_view token) {
  if (!isHexToken(token)) return std::nullopt;
  std::optional<PhoneJudge> found;
  for (const PhoneJudge& judge : judges) {
    if (judge.token.size() != kTokenLength) continue;
    unsigned difference = 0;
    for (std::size_t i = 0; i < kTokenLength; ++i)
      difference |= static_cast<unsigned char>(judge.token[i]) ^ static_cast<unsigned char>(token[i]);
    if (difference == 0 && !found) found = judge;
  }
  return found;
}

}  // namespace scoring

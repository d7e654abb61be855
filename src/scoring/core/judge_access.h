#pragma once
// Who may score from a phone: one random token per judge, stored in the event's
// Config.ini beside the judge list, a lock per judge and the programmes whose
// scoring the operator has closed. Everything is read from the file at each use,
// so the setup window and the server never disagree about a judge.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"

namespace scoring {

extern const std::string kPhoneSection;   // 手机评分: port and score step
extern const std::string kTokenSection;   // 评委令牌: judge name = token
extern const std::string kLockedSection;  // 评委锁定: judge name = 1
extern const std::string kClosedSection;  // 截止评分: programme order = 1
extern const std::string kPortKey;        // 端口
extern const std::string kStepKey;        // 分数步长

inline constexpr int kDefaultPort = 8800;
// A token carries 128 random bits as 32 lower-case hex digits.
inline constexpr std::size_t kTokenLength = 32;

// 128 bits from the kernel's random source. Raises std::runtime_error when it
// cannot be had: a guessable token would let anyone on the hall's network score.
std::string newJudgeToken();

struct PhoneJudge {
  std::string name;   // GBK, as in the judge list
  std::string token;  // empty until one is given
  bool locked = false;
};

struct PhoneSettings {
  int port = kDefaultPort;
  // The finest difference between two scores a phone may send ("0.1": 8.5 and
  // 8.6 but not 8.55). Never 0 or below.
  double step = 0.1;
  std::string stepText = "0.1";
};

PhoneSettings readPhoneSettings(const base::IniFile& config);
void storePhoneSettings(base::IniFile& config, int port, std::string_view stepText);

// The judges of the judge list with their tokens and locks.
std::vector<PhoneJudge> readPhoneJudges(const base::IniFile& config);
// Gives every judge of the list without a token a new one (one write for all).
void ensureJudgeTokens(base::IniFile& config);
// A new token for a judge (a lost phone): the old link stops working at once.
std::string renewJudgeToken(base::IniFile& config, const std::string& judge);
void setJudgeLocked(base::IniFile& config, const std::string& judge, bool locked);

bool isProgrammeClosed(const base::IniFile& config, const std::string& order);
void setProgrammeClosed(base::IniFile& config, const std::string& order, bool closed);

// The judge holding this token; compared in constant time so that timing tells
// nothing about a stored token. Nothing for a malformed or unknown token.
std::optional<PhoneJudge> judgeByToken(const std::vector<PhoneJudge>& judges, std::string_view token);

}  // namespace scoring

#include "scoring/core/judge_api.h"

#include <optional>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "scoring/core/judge_access.h"
#include "scoring/core/programme_lists.h"
#include "scoring/core/score_submission.h"
#include "scoring/core/scoring_file.h"

namespace scoring {

namespace fs = std::filesystem;

namespace {
const char* const kJson = "application/json; charset=utf-8";
const char* const kText = "text/plain; charset=utf-8";

HttpReply message(int status, std::string_view utf8) {
  return {status, kJson, "{\"ok\":false,\"message\":" + jsonString(utf8) + "}"};
}

HttpReply plainError(int status, std::string_view utf8) { return {status, kText, std::string(utf8) + "\n"}; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> percentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::optional<std::string> formField(std::string_view body, std::string_view name) {
  while (!body.empty()) {
    std::size_t end = body.find('&');
    std::string_view pair = body.substr(0, end);
    std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && percentDecode(pair.substr(0, equals)) == std::string(name))
      return percentDecode(pair.substr(equals + 1));
    if (end == std::string_view::npos) break;
    body.remove_prefix(end + 1);
  }
  return std::nullopt;
}

// A flat JSON object: {"name": "text" | number, ...}. Escapes in strings are
// kept simple (\" \\ \/ and \uXXXX below 0x80); nesting is refused.
class FlatJson {
 public:
  explicit FlatJson(std::string_view text) : text_(text) {}

  std::optional<std::string> field(std::string_view name) {
    skip();
    if (!eat('{')) return std::nullopt;
    skip();
    if (eat('}')) return std::nullopt;
    while (true) {
      skip();
      auto key = string();
      skip();
      if (!key || !eat(':')) return std::nullopt;
      skip();
      std::optional<std::string> value = peek() == '"' ? string() : number();
      if (!value) return std::nullopt;
      if (*key == name) return value;
      skip();
      if (eat(',')) continue;
      return std::nullopt;
    }
  }

 private:
  char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  bool eat(char c) {
    if (peek() != c) return false;
    ++at_;
    return true;
  }
  void skip() {
    while (peek() == ' ' || peek() == '\n' || peek() == '\r' || peek() == '\t') ++at_;
  }
  std::optional<std::string> string() {
    if (!eat('"')) return std::nullopt;
    std::string out;
    while (at_ < text_.size()) {
      char c = text_[at_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      char e = peek();
      ++at_;
      if (e == '"' || e == '\\' || e == '/') {
        out += e;
      } else if (e == 'u' && at_ + 4 <= text_.size()) {
        int code = 0;
        for (int i = 0; i < 4; ++i) {
          int v = hexValue(text_[at_ + i]);
          if (v < 0) return std::nullopt;
          code = code * 16 + v;
        }
        if (code >= 0x80 || code == 0) return std::nullopt;
        out += static_cast<char>(code);
        at_ += 4;
      } else {
        return std::nullopt;
      }
    }
    return std::nullopt;
  }
  std::optional<std::string> number() {
    std::size_t start = at_;
    while (at_ < text_.size() && std::string_view("+-.0123456789eE").find(text_[at_]) != std::string_view::npos) ++at_;
    if (at_ == start) return std::nullopt;
    return std::string(text_.substr(start, at_ - start));
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

const Programme* programmeByOrder(const std::vector<Programme>& programmes, std::string_view order) {
  for (const Programme& programme : programmes)
    if (programme.order == order) return &programme;
  return nullptr;
}

fs::path scoringFileOf(const fs::path& programDir, const base::IniFile& config) {
  return configuredScoringFile(programDir, config.readString(kProgrammeSection, kFilePathKey, ""));
}
}  // namespace

std::string jsonString(std::string_view utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      static const char digits[] = "0123456789abcdef";
      out += "\\u00";
      out += digits[u >> 4];
      out += digits[u & 15];
    } else if (c == '<') {
      out += "\\u003c";  // never closes a script element, wherever the text lands
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::optional<std::string> requestField(std::string_view contentType, std::string_view body, std::string_view name) {
  if (lower(contentType).find("application/json") != std::string::npos) return FlatJson(body).field(name);
  return formField(body, name);
}

bool RateLimiter::allow(const std::string& key, std::int64_t nowMs) {
  std::deque<std::int64_t>& times = recent_[key];
  while (!times.empty() && nowMs - times.front() >= 1000) times.pop_front();
  if (static_cast<int>(times.size()) >= kRequestsPerSecond) return false;
  times.push_back(nowMs);
  return true;
}

JudgeApi::JudgeApi(fs::path programDir, fs::path pageFile)
    : programDir_(std::move(programDir)), configFile_(programDir_ / "Config.ini"), pageFile_(std::move(pageFile)) {}

std::map<std::string, JudgeActivity> JudgeApi::activity() const {
  std::lock_guard<std::mutex> hold(activityMutex_);
  return activity_;
}

HttpReply JudgeApi::handle(std::string_view method, std::string_view path, std::string_view contentType,
                           std::string_view body, const std::string& peer, std::int64_t nowMs,
                           const std::string& clock) {
  // Only /j/<token>[/state|/score]; a query string is no part of the path.
  path = path.substr(0, path.find('?'));
  if (path.find("..") != std::string_view::npos || path.find('\\') != std::string_view::npos ||
      path.rfind("/j/", 0) != 0)
    return plainError(404, "没有这个页面。");
  std::string_view rest = path.substr(3);
  std::string_view token = rest.substr(0, rest.find('/'));
  std::string_view action = token.size() < rest.size() ? rest.substr(token.size()) : std::string_view();
  if (action != "" && action != "/state" && action != "/score") return plainError(404, "没有这个页面。");

  base::IniFile config(configFile_);
  std::optional<PhoneJudge> judge = judgeByToken(readPhoneJudges(config), token);
  if (!judge) return plainError(403, "这个评分链接无效,请向工作人员索取新的链接。");
  if (!limiter_.allow(judge->token, nowMs)) return message(429, "提交太频繁,请稍候再试。");
  if (body.size() > kMaxRequestBody) return message(413, "提交的内容太长。");
  if (judge->locked) return message(403, "您的评分已被工作人员锁定,请联系工作人员。");

  if (action.empty()) {
    if (method != "GET") return plainError(405, "不支持这种请求。");
    std::optional<std::string> page;
    try {
      page = base::readFileIfExists(pageFile_);
    } catch (const std::exception&) {
    }
    if (!page) return plainError(500, "评分页面文件缺失,请联系工作人员。");
    return {200, "text/html; charset=utf-8", *page};
  }
  if (action == "/state") {
    if (method != "GET") return message(405, "不支持这种请求。");
    return state(judge->name);
  }
  if (method != "POST") return message(405, "不支持这种请求。");
  return submit(judge->name, contentType, body, peer, clock);
}

HttpReply JudgeApi::state(const std::string& judge) {
  base::IniFile config(configFile_);
  const std::vector<Programme> programmes = readProgrammes(config);
  const ScoreSheet sheet = ScoreSheet::load(scoringFileOf(programDir_, config));
  const PhoneSettings settings = readPhoneSettings(config);
  std::string json = "{\"ok\":true,\"judge\":" + jsonString(base::gbkToUtf8(judge));
  json += ",\"fullScore\":" + formatScore(readFullScore(config));
  json += ",\"step\":" + formatScore(settings.step);
  json += ",\"current\":" + jsonString(base::gbkToUtf8(sheet.currentNumber()));
  json += ",\"programmes\":[";
  bool first = true;
  for (const Programme& programme : programmes) {
    if (!first) json += ',';
    first = false;
    json += "{\"order\":" + jsonString(programme.order) + ",\"name\":" + jsonString(base::gbkToUtf8(programme.name)) +
            ",\"performer\":" + jsonString(base::gbkToUtf8(programme.performer)) +
            ",\"score\":" + jsonString(base::gbkToUtf8(sheet.score(programme, judge))) +
            ",\"closed\":" + (isProgrammeClosed(config, programme.order) ? "true" : "false") + "}";
  }
  return {200, kJson, json + "]}"};
}

HttpReply JudgeApi::submit(const std::string& judge, std::string_view contentType, std::string_view body,
                           const std::string& peer, const std::string& clock) {
  base::IniFile config(configFile_);
  std::optional<std::string> order = requestField(contentType, body, "programme");
  std::optional<std::string> scoreText = requestField(contentType, body, "score");
  if (!order || !scoreText) return message(400, "请求缺少节目或分数。");
  const std::vector<Programme> programmes = readProgrammes(config);
  const Programme* programme = programmeByOrder(programmes, *order);
  if (!programme) return message(400, "没有这个节目。");
  const double fullScore = readFullScore(config);
  const CheckedScore checked = checkScore(*scoreText, fullScore, readPhoneSettings(config).step);
  switch (checked.check) {
    case ScoreCheck::Ok:
      break;
    case ScoreCheck::NotANumber:
      return message(400, "分数必须是数字。");
    case ScoreCheck::OutOfRange:
      return message(400, "分数必须在0到" + formatScore(fullScore) + "之间。");
    case ScoreCheck::OffStep:
      return message(400, "分数只能以" + readPhoneSettings(config).stepText + "为单位。");
  }
  if (isProgrammeClosed(config, programme->order))
    return message(409, "「" + base::gbkToUtf8(programme->name) + "」已停止评分,分数没有提交。");
  try {
    writeJudgeScore(scoringFileOf(programDir_, config), *programme, judge, checked.text);
  } catch (const ScoringFileProblem& problem) {
    return message(503, problem.what());
  } catch (const std::exception&) {
    return message(500, "分数没有写入评分文件,请联系工作人员。");
  }
  {
    std::lock_guard<std::mutex> hold(activityMutex_);
    JudgeActivity& activity = activity_[judge];
    activity.time = clock;
    activity.address = peer;
    ++activity.scores;
  }
  return {200, kJson,
          "{\"ok\":true,\"programme\":" + jsonString(programme->order) + ",\"score\":" + jsonString(checked.text) +
              ",\"message\":" +
              jsonString("「" + base::gbkToUtf8(programme->name) + "」" + checked.text + "分已提交。") + "}"};
}

}  // namespace scoring

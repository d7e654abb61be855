#pragma once
// What the judges' phones may ask of the program, answered without any network
// code: the server hands each request's method, path, body and sender here and
// sends back the reply. Keeping the rules here lets them be tested request by
// request and keeps the server a thin layer.
//
//   GET  /j/<token>        the judge's page
//   GET  /j/<token>/state  JSON: judge, programmes, the judge's scores, current programme, full score
//   POST /j/<token>/score  form or JSON fields programme (order number) and score
//
// Nothing else is served. Config.ini and the scoring file are read at every
// request, so the operator's changes in the setup window or the editor count at once.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scoring {

inline constexpr std::size_t kMaxRequestBody = 4096;
inline constexpr int kRequestsPerSecond = 10;

struct HttpReply {
  int status = 200;
  std::string contentType;  // with its charset
  std::string body;
};

// When a judge's phone last sent a score that was stored, and from where.
struct JudgeActivity {
  std::string time;     // "20:15:03"
  std::string address;  // the phone's IP address
  int scores = 0;
};

// More than kRequestsPerSecond requests of one token within a second are refused.
class RateLimiter {
 public:
  bool allow(const std::string& key, std::int64_t nowMs);

 private:
  std::map<std::string, std::deque<std::int64_t>> recent_;
};

class JudgeApi {
 public:
  // pageFile: the judge's page, read at each request for it.
  JudgeApi(std::filesystem::path programDir, std::filesystem::path pageFile);

  // peer: the sender's address; nowMs: a steady clock in milliseconds; clock: "HH:MM:SS" for activity.
  HttpReply handle(std::string_view method, std::string_view path, std::string_view contentType, std::string_view body,
                   const std::string& peer, std::int64_t nowMs, const std::string& clock);

  // Activity by judge name (GBK). Safe to call from another thread than handle().
  std::map<std::string, JudgeActivity> activity() const;

  const std::filesystem::path& configFile() const { return configFile_; }

 private:
  HttpReply state(const std::string& judge);
  HttpReply submit(const std::string& judge, std::string_view contentType, std::string_view body,
                   const std::string& peer, const std::string& clock);

  std::filesystem::path programDir_;
  std::filesystem::path configFile_;
  std::filesystem::path pageFile_;
  RateLimiter limiter_;
  mutable std::mutex activityMutex_;
  std::map<std::string, JudgeActivity> activity_;
};

// Form (a=1&b=2, percent and plus decoding) or a flat JSON object of strings and
// numbers: the field's text, or nothing. Exposed for the tests of odd bodies.
std::optional<std::string> requestField(std::string_view contentType, std::string_view body, std::string_view name);

// A UTF-8 text as a JSON string literal.
std::string jsonString(std::string_view utf8);

}  // namespace scoring

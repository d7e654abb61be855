#include "draw/winners_record_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "base/conversion_error.h"
#include "base/gbk.h"
#include "base/text_check.h"
#include "base/text_file.h"

namespace draw {

namespace {

// A record holds a serial, a name, a display name, an award name and a serial:
// a line of kilobytes is none, and quoting it whole would bury any message.
constexpr std::size_t kLongestRecord = 4096;

// Splits at every "|" that is not the second byte of a two-byte character, in
// one walk along the line; an empty field is kept as " ". Fields beyond the
// fifth are dropped, as the record has always been read.
Table::Row splitRecord(std::string_view line) {
  Table::Row fields;
  fields.reserve(winner::kColumnCount);
  auto take = [&](std::size_t start, std::size_t end) {
    fields.emplace_back(start == end ? std::string_view(" ") : line.substr(start, end - start));
  };
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < line.size() && fields.size() + 1 < winner::kColumnCount) {
    if (line[pos] == '|') {
      take(start, pos);
      start = ++pos;
    } else {
      pos += base::charLengthAt(line, pos);
    }
  }
  // The last field runs to the next bar or the end of the line.
  std::size_t end = pos;
  while (end < line.size() && line[end] != '|') end += base::charLengthAt(line, end);
  take(start, std::min(end, line.size()));
  fields.resize(winner::kColumnCount);
  return fields;
}

// Splits at every byte "|": text that is not GBK has no two-byte characters to step over.
std::vector<std::string> splitAtEveryBar(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t bar; (bar = line.find('|', start)) != std::string_view::npos; start = bar + 1)
    fields.emplace_back(line.substr(start, bar - start));
  fields.emplace_back(line.substr(start));
  return fields;
}

bool serialsRead(const Table::Row& record) {
  return base::parseInt(record[winner::kSerial]) && base::parseInt(record[winner::kAwardSerial]);
}

// A field of a damaged line made fit for the file: control bytes out and, on a
// line that is not GB18030, UTF-8 text in GB18030 when the field is UTF-8;
// anything else stays as it is.
std::string cleanField(const std::string& field, base::TextProblem lineProblem) {
  std::string text;
  for (char c : field) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) text += c;
  }
  if (lineProblem != base::TextProblem::Utf8 && lineProblem != base::TextProblem::NotGb18030) return text;
  const std::optional<std::string> converted = base::tryUtf8ToGbk(text);
  return converted ? *converted : text;
}

}  // namespace

RecordReading readWinnersRecord(std::string_view bytes, const DrawData& data) {
  RecordReading reading;
  std::set<std::string> people;    // roster serials that won, while repeat winning is off
  std::map<long long, int> taken;  // records and places given up per award row
  const std::vector<std::string_view> lines = base::splitLineViews(bytes);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    RecordFinding finding{i + 1, {}, base::excerptForMessage(line)};
    if (line.find_first_not_of(" \t") == std::string_view::npos) {
      finding.reason = "空行";
      reading.surplus.push_back(std::move(finding));
      continue;
    }
    const std::size_t bars = static_cast<std::size_t>(std::count(line.begin(), line.end(), '|'));
    auto refuse = [&](std::string reason) {
      finding.reason = std::move(reason);
      (bars >= winner::kColumnCount - 1 ? reading.unsafe : reading.unreadable).push_back(std::move(finding));
    };
    if (line.size() > kLongestRecord) {
      refuse("这一行太长(" + std::to_string(line.size()) + "字节),不是一条中奖记录");
      continue;
    }

    const base::TextProblem problem = base::findTextProblem(line);
    Table::Row record;
    bool damaged = false;
    // A UTF-8 line is quoted as the operator wrote it.
    if (problem == base::TextProblem::Utf8) finding.excerpt = base::excerptForMessage(base::utf8ToGbk(line));
    if (problem == base::TextProblem::None) record = splitRecord(line);
    if (record.empty() || !serialsRead(record)) {
      // A record whose text another program garbled still names its person and
      // award by plain digits; then it counts, and only its text is mended.
      const std::vector<std::string> fields = splitAtEveryBar(line);
      Table::Row candidate;
      if (fields.size() == winner::kColumnCount) candidate.assign(fields.begin(), fields.end());
      if (candidate.empty() || !serialsRead(candidate)) {
        refuse(problem != base::TextProblem::None
                   ? base::describeTextProblem(problem)
                   : std::string("不是完整的中奖记录(序号|姓名|显示姓名|奖项|奖项编号)"));
        continue;
      }
      for (std::string& field : candidate) field = cleanField(field, problem);
      for (std::string& field : candidate)
        if (field.empty()) field = " ";
      record = std::move(candidate);
      damaged = true;
      finding.reason =
          problem != base::TextProblem::None ? base::describeTextProblem(problem) : std::string("姓名中的字节不成字");
    }

    const int person = *base::parseInt(record[winner::kSerial]);
    const int award = *base::parseInt(record[winner::kAwardSerial]);
    if (!data.settings.repeatWinning && !people.insert(std::to_string(person)).second) {
      finding.reason = "序号" + std::to_string(person) + "的人已经中过奖(不可重复中奖)";
      reading.surplus.push_back(std::move(finding));
      continue;
    }
    if (data.isAwardRow(award)) {
      const auto row = static_cast<std::size_t>(award);
      auto count = taken.find(award);
      if (count == taken.end())
        count = taken.emplace(award, base::parseInt(data.ItemGrid.cell(item::kGivenUp, row)).value_or(0)).first;
      const auto places = base::parseInt(data.ItemGrid.cell(item::kPlaces, row));
      const auto supplementary = base::parseInt(data.ItemGrid.cell(item::kSupplementary, row));
      if (++count->second > places.value_or(0) + supplementary.value_or(0) && places && supplementary) {
        RecordFinding beyond = finding;
        beyond.reason = "奖项" + std::to_string(award) + "只有" + std::to_string(*places + *supplementary) +
                        "个名额,这条记录超出了名额";
        reading.beyondPlaces.push_back(std::move(beyond));
      }
    }
    if (damaged) reading.damaged.push_back(std::move(finding));
    reading.lines.push_back(damaged ? winnerRecordLine(record) : std::string(line));
    reading.records.push_back(std::move(record));
  }
  return reading;
}

std::string describeFindings(const std::vector<RecordFinding>& findings, std::size_t shown) {
  std::string text;
  for (std::size_t i = 0; i < findings.size() && i < shown; ++i) {
    const RecordFinding& f = findings[i];
    text += base::utf8ToGbk("第" + std::to_string(f.line) + "行(" + f.reason + "): ") + f.excerpt + "\r\n";
  }
  if (findings.size() > shown)
    text += base::utf8ToGbk("……还有" + std::to_string(findings.size() - shown) + "行") + "\r\n";
  return text;
}

}  // namespace draw

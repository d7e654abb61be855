// The scoring file as judges' helpers type it by hand, in either layout. Promises
// checked: one reading never escapes with an error; it gives at most one average
// per programme, every programme's rank once all averages are read, and a
// current programme only with a line per judge.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/gbk.h"
#include "fuzz_folder.h"
#include "scoring/core/scoring_refresh.h"

namespace {

void broken(const char* what) {
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

scoring::ScoringInputs inputs() {
  scoring::ScoringInputs in;
  in.programmes = {{"1", base::utf8ToGbk("开场舞"), base::utf8ToGbk("市场部")},
                   {"2", base::utf8ToGbk("小品"), ""},
                   {"3", "Band", "R&D"}};
  in.judges = {base::utf8ToGbk("张总"), base::utf8ToGbk("李经理"), "Wang"};
  return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const scoring::ScoringInputs in = inputs();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const scoring::ScoreSheet sheet = scoring::ScoreSheet::parse(bytes);
  const scoring::ScoringReading reading = scoring::readScores(in, sheet, true, true);
  if (reading.averages.size() > in.programmes.size()) broken("more averages than programmes");
  if (reading.complete() && reading.ranks.size() != in.programmes.size()) broken("a complete reading without ranks");
  if (reading.current && !reading.current->name.empty() && reading.current->judges.size() != in.judges.size())
    broken("a current programme without a line per judge");
  return 0;
}

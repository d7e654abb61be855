#pragma once
// A score sent from a judge's phone: checked against the full score and the
// step, and written into the scoring file by changing exactly the judge's key for
// that programme. The file is read fresh from disk for every submission and
// replaced atomically only if nobody (the operator's editor, another writer)
// changed it meanwhile; otherwise the change is made again on the newer file. So
// hand edits and other judges' scores are never overwritten with an old copy.
#include <filesystem>
#include <string>
#include <string_view>

#include "scoring/core/programme_lists.h"

namespace scoring {

enum class ScoreCheck { Ok, NotANumber, OutOfRange, OffStep };

struct CheckedScore {
  ScoreCheck check = ScoreCheck::NotANumber;
  std::string text;  // the score as it goes into the file ("8.5"); empty unless Ok
};

// A plain decimal ("8", "8.5", " 9.25 "; no exponent, no sign other than none)
// between 0 and the full score, a whole multiple of the step.
CheckedScore checkScore(std::string_view text, double fullScore, double step);

// The shortest decimal text of a score with at most four decimals ("8.5", "10").
std::string formatScore(double score);

// The scoring file could not be read as one (not GBK, missing): the message is
// Chinese (UTF-8) and meant for the judge's phone and the operator.
class ScoringFileProblem : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Sets the judge's entry for the programme in the file's own layout to
// scoreText, leaving every other byte of the file as it stands. Raises
// ScoringFileProblem for a missing or unreadable file and base::FileError when
// it cannot be written.
void writeJudgeScore(const std::filesystem::path& file, const Programme& programme, const std::string& judge,
                     const std::string& scoreText);

// Holds an exclusive advisory lock on the scoring file's folder while a writer
// of this program (or a cooperating tool) reads and replaces the file. The
// folder rather than the file: a replace gives the file a new inode.
class ScoringFolderLock {
 public:
  explicit ScoringFolderLock(const std::filesystem::path& file);
  ~ScoringFolderLock();
  ScoringFolderLock(const ScoringFolderLock&) = delete;
  ScoringFolderLock& operator=(const ScoringFolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace scoring

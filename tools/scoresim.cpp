// scoresim EVENT_DIR
// scoresim EVENT_DIR --generate FILE [--layout 0|1]
//
// Reads an event's programmes, judges and scoring file as the displays do at one
// refresh and prints, in UTF-8:
//   PROGRAM <order>|<name>|<average>|<rank>      every programme in list order
//   CURRENT <编号 as read>|<name>|<performer>|<scored count>
//   JUDGE <name>|<score text>|<mark>             every judge in list order
//   RESULT <result line>
// A text that stops the reading prints "ERROR <message>" after what had been
// computed. With --generate it writes the blank scoring file for the stored
// lists as the setup dialog does (".txt" appended unless the name ends in it,
// the settings stored with the new path) and prints "FILE <path written>".
// Exits 0 whenever it ran; 2 when it could not.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "base/config_files.h"
#include "base/file_error.h"
#include "base/gbk.h"
#include "base/text_file.h"
#include "scoring/core/scoring_refresh.h"

namespace {

namespace fs = std::filesystem;

int usage(const std::string& problem) {
  std::cerr << "scoresim: " << problem << "\n"
            << "usage: scoresim EVENT_DIR [--generate FILE [--layout 0|1]]\n";
  return 2;
}

std::string utf8(const std::string& gbk) { return base::gbkToUtf8(gbk); }

int generate(const fs::path& dir, const std::string& file, std::optional<scoring::FileLayout> layout) {
  base::IniFile config = base::ConfigFiles(dir).openConfig();
  scoring::ScoringSetup setup = scoring::readSetup(config);
  if (layout) setup.layout = *layout;
  const fs::path target = fs::absolute(fs::path(scoring::withTxtSuffix(file)));
  base::writeFileAtomically(target, scoring::blankScoringFile(setup.programmes, setup.judges, setup.layout));
  setup.filePath = base::utf8ToGbk(target.string());
  scoring::storeSetup(config, setup);
  std::cout << "FILE " << target.string() << "\n";
  return 0;
}

int report(const fs::path& dir) {
  base::IniFile config = base::ConfigFiles(dir).openConfig();
  const scoring::ScoringInputs inputs = scoring::readInputs(config, dir);
  const scoring::ScoringReading reading = scoring::readScores(inputs, dir, true, true);
  for (std::size_t i = 0; i < reading.averages.size(); ++i) {
    const scoring::Programme& programme = inputs.programmes[i];
    const std::string rank = i < reading.ranks.size() ? reading.ranks[i] : std::string();
    std::cout << "PROGRAM " << utf8(programme.order) << "|" << utf8(programme.name) << "|" << reading.averages[i] << "|"
              << rank << "\n";
  }
  if (const auto& current = reading.current) {
    std::cout << "CURRENT " << utf8(current->number) << "|" << utf8(current->name) << "|" << utf8(current->performer)
              << "|" << current->scoredCount << "\n";
    for (const scoring::JudgeLine& judge : current->judges)
      std::cout << "JUDGE " << utf8(judge.name) << "|" << utf8(judge.score) << "|" << judge.mark << "\n";
    std::cout << "RESULT " << utf8(current->resultLine) << "\n";
  }
  if (!reading.complete()) std::cout << "ERROR " << reading.error << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage("no event folder given");
  const fs::path dir = argv[1];
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return usage("no such folder: " + dir.string());
  std::optional<std::string> generateFile;
  std::optional<scoring::FileLayout> layout;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--generate" || arg == "--layout") && i + 1 >= argc) return usage(arg + " needs a value");
    if (arg == "--generate") {
      generateFile = argv[++i];
    } else if (arg == "--layout") {
      const std::string value = argv[++i];
      if (value != "0" && value != "1") return usage("--layout takes 0 or 1");
      layout = value == "1" ? scoring::FileLayout::ByJudge : scoring::FileLayout::ByProgramme;
    } else {
      return usage("unknown argument " + arg);
    }
  }
  if (layout && !generateFile) return usage("--layout goes with --generate");
  try {
    return generateFile ? generate(dir, *generateFile, layout) : report(dir);
  } catch (const std::exception& error) {
    std::cerr << "scoresim: " << error.what() << "\n";
    return 2;
  }
}

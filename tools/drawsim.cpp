// drawsim EVENT_DIR [--commands N] [--answer yes|no] [--seed S] [--ticks K]
//
// Runs the draw of an event folder without a window, as the program would:
// the start-up, then N start/stop commands with K rolling ticks between a start
// and its stop, every countdown tick that is due, and a pending winners display
// before the next command. Prints one line per message box ("MSG "), question
// ("ASK ") and winners display ("SHOW "; then "TEXT " and each line of the
// display's text as it was when it opened, and "END"), then "STATE" with the current award,
// the start button caption and the hint. Writes the event's files exactly as the
// program does. Exits 0 whenever it ran; 2 when it could not (bad arguments, no
// such folder).
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "base/gbk.h"
#include "draw/headless_startup.h"
#include "draw/headless_view.h"
#include "draw/startup.h"
#include "draw/winners_text.h"

namespace {

struct Options {
  std::filesystem::path eventDir;
  long commands = 0;
  bool answer = false;
  std::optional<unsigned long long> seed;
  long ticks = 3;
};

int usage(const std::string& problem) {
  std::cerr << "drawsim: " << problem << "\n"
            << "usage: drawsim EVENT_DIR [--commands N] [--answer yes|no] [--seed S] [--ticks K]\n";
  return 2;
}

std::optional<long> wholeNumber(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 12) return {};
  return std::stol(text);
}

void print(const char* prefix, const std::string& gbkText) { std::cout << prefix << base::gbkToUtf8(gbkText) << "\n"; }

}  // namespace

int main(int argc, char** argv) {
  Options options;
  bool haveDir = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return {};
      return std::string(argv[++i]);
    };
    if (arg == "--commands" || arg == "--ticks" || arg == "--seed") {
      auto text = value();
      auto number = text ? wholeNumber(*text) : std::nullopt;
      if (!number) return usage(arg + " takes a whole number");
      if (arg == "--commands") options.commands = *number;
      if (arg == "--ticks") options.ticks = *number;
      if (arg == "--seed") options.seed = static_cast<unsigned long long>(*number);
    } else if (arg == "--answer") {
      auto text = value();
      if (!text || (*text != "yes" && *text != "no")) return usage("--answer takes yes or no");
      options.answer = *text == "yes";
    } else if (!arg.empty() && arg[0] == '-') {
      return usage("unknown option " + arg);
    } else if (!haveDir) {
      options.eventDir = arg;
      haveDir = true;
    } else {
      return usage("more than one event folder");
    }
  }
  if (!haveDir) return usage("no event folder");
  std::error_code ec;
  if (!std::filesystem::is_directory(options.eventDir, ec))
    return usage("no such folder: " + options.eventDir.string());

  draw::EventFolder folder(std::filesystem::absolute(options.eventDir));
  draw::DrawData data;
  draw::HeadlessView view;
  view.answer = options.answer;
  view.composeWinners = [&](const std::string& shownAward) {
    return draw::composeWinnersText(data, shownAward, draw::winnersPerRow(folder.configFiles()), false);
  };
  draw::Luck luck(data, folder, view);

  std::size_t printed = 0;
  auto flush = [&] {
    for (; printed < view.transcript.size(); ++printed) {
      const auto& event = view.transcript[printed];
      using Kind = draw::HeadlessView::Event::Kind;
      print(event.kind == Kind::Message ? "MSG " : event.kind == Kind::Question ? "ASK " : "SHOW ", event.text);
      if (event.kind != Kind::WinnersDisplay) continue;
      for (std::size_t start = 0; start < event.display.size();) {
        const std::size_t end = event.display.find('\n', start);
        print("TEXT ", event.display.substr(start, end - start));
        start = end == std::string::npos ? event.display.size() : end + 1;
      }
      std::cout << "END\n";
    }
  };

  const bool started = draw::startUp(data, folder, view, luck) == draw::StartupResult::Ready;
  if (options.seed) data.random.seed(*options.seed);
  flush();
  if (started) {
    for (long command = 0; command < options.commands; ++command) {
      if (luck.winnersDisplayPending()) luck.Timer2Timer();
      luck.startStopCommand();
      while (luck.countingDown()) luck.Timer4Timer();
      if (luck.rolling())
        for (long tick = 0; tick < options.ticks; ++tick) luck.Timer1Timer();
      flush();
    }
    try {
      draw::saveDrawStateKeys(folder, data.settings);
    } catch (const std::exception& error) {
      std::cout << "MSG " << error.what() << "\n";
    }
  }
  flush();
  std::cout << "STATE award=" << base::gbkToUtf8(data.state.currentAward)
            << " caption=" << base::gbkToUtf8(view.startCaption.empty() ? luck.startCaption() : view.startCaption)
            << " hint=" << base::gbkToUtf8(view.fieldText[draw::Field::ActionHint]) << "\n";
  return 0;
}

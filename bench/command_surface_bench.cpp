// Times what the operator waits for on the command surface: building the menus at
// start-up, rebuilding the single-award submenu after every stop, the lock check's
// read of the password store, and a theme choice that writes a full Config.ini at
// once. Prints medians; run with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/ini_file.h"
#include "base/text_file.h"
#include "platform/password_store.h"
#include "screen/element_menus.h"
#include "screen/main_menu.h"
#include "screen/state/element_commands.h"

namespace {

using Clock = std::chrono::steady_clock;

double medianMicroseconds(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "kv_command_surface_bench";
  fs::remove_all(dir);
  fs::create_directories(dir / "backpic");
  base::writeFileAtomically(dir / "backpic" / "婚礼.jpg", "jpeg");

  QWidget window;
  std::printf("main and element menus built: %.0f us\n", medianMicroseconds(50, [&] {
                screen::MainMenu menu(&window);
                screen::ElementMenus elements(&window);
              }));

  screen::MainMenu menu(&window);
  for (int awards : {10, 100}) {
    std::vector<screen::MainMenu::SingleAwardItem> items;
    for (int i = 0; i < awards; ++i) {
      items.push_back({QStringLiteral("第%1奖  (%2/10)").arg(i + 1).arg(i % 11), i % 11 < 10});
    }
    std::printf("single-award submenu of %d awards rebuilt: %.0f us\n", awards,
                medianMicroseconds(200, [&] { menu.setSingleAwardItems(items); }));
  }

  platform::PasswordStore store(dir / "registry.ini");
  store.setPassword("secret-password");
  std::printf("password store read and unscrambled: %.1f us\n",
              medianMicroseconds(1000, [&] { (void)store.password(); }));

  // A Config.ini of the size the auto layout leaves: about 2,000 keys.
  {
    base::IniFile config(dir / "Config.ini");
    base::IniBatch batch(config);
    for (int section = 1; section <= 31; ++section) {
      for (int key = 0; key < 64; ++key) {
        config.writeInt("L" + std::to_string(section), "K" + std::to_string(key), key * section);
      }
    }
  }
  std::printf("Config.ini: %ju bytes\n", static_cast<std::uintmax_t>(fs::file_size(dir / "Config.ini")));
  base::ConfigFiles files(dir);
  screen::ScreenModel model;
  std::printf("theme applied and stored at once: %.0f us\n",
              medianMicroseconds(50, [&] { screen::applyTheme(files, model, screen::kThemes[2]); }));
  fs::remove_all(dir);
  return 0;
}

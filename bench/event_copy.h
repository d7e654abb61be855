#pragma once
// A scratch copy of the shipped demo event for the benchmarks that start the
// real draw screen.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/delimited_row.h"
#include "base/gbk.h"
#include "base/ini_file.h"

// A fresh program folder: the shipped files, Config.ini seeded from
// SysConfig.ini (a first run, as the demo event ships), sounds off, the fastest
// rolling speed (20 ms) without the ramp unless `fastest` is false (the shipped speed, with its ramp).
class EventCopy {
 public:
  EventCopy(const std::filesystem::path& dist, int serial, bool fastest = true) {
    dir_ = std::filesystem::temp_directory_path() /
           ("kv_screen_bench_" + std::to_string(::getpid()) + "_" + std::to_string(serial));
    std::filesystem::remove_all(dir_);
    std::filesystem::copy(dist, dir_, std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(dir_ / "SysConfig.ini", dir_ / "Config.ini");
    base::IniFile config(dir_ / "Config.ini");
    base::IniBatch batch(config);
    const std::string sound = base::utf8ToGbk("音效设置");
    for (const char* key : {"背景音乐_check", "抽奖开始_check", "抽奖停止_check"})
      config.writeInt(sound, base::utf8ToGbk(key), 0);
    if (!fastest) return;
    const std::string look = base::utf8ToGbk("界面设置");
    config.writeInt(look, base::utf8ToGbk("滚动速度"), -5);
    config.writeInt(look, base::utf8ToGbk("滚动速度是否渐变"), 0);
  }
  ~EventCopy() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const std::filesystem::path& dir() const { return dir_; }

  void setAwards(const std::vector<std::vector<std::string>>& rows) {
    base::IniFile config(dir_ / "Config.ini");
    base::IniBatch batch(config);
    const std::string section = base::utf8ToGbk("奖项设置");
    config.eraseSection(section);
    for (std::size_t i = 0; i < rows.size(); ++i)
      config.writeString(section, std::to_string(i + 1), base::writeDelimitedRow(rows[i]));
  }

 private:
  std::filesystem::path dir_;
};

#pragma once
// A draw over an event folder without a window: the tables, the headless view
// that keeps what the operator would have seen, and the draw control over both.
#include <string>
#include <vector>

#include "base/gbk.h"
#include "draw/draw_data.h"
#include "draw/event_folder.h"
#include "draw/headless_view.h"
#include "draw/luck.h"

namespace draw_testing {

struct DrawRun {
  draw::DrawData data;
  draw::HeadlessView view;
  draw::Luck luck;
  explicit DrawRun(const draw::EventFolder& folder) : luck(data, folder, view) {}
  // One batch: start, one tick of the rolling names, stop.
  void batch() {
    luck.startStopCommand();
    luck.Timer1Timer();
    luck.startStopCommand();
  }
  // The message boxes shown so far, UTF-8, in order.
  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& e : view.transcript)
      if (e.kind == draw::HeadlessView::Event::Kind::Message) texts.push_back(base::gbkToUtf8(e.text));
    return texts;
  }
};

}  // namespace draw_testing

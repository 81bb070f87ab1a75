#include "tests/support/replay.h"

#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/recorded_run.h"
#include "frame/world_hash.h"
#include "tests/support/headless_game.h"
#include "tests/support/headless_controls.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace replay {

namespace {

// The keys of a recording, in the order of their bits.
constexpr int scancodes[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_ALT, KEY_ESC, KEY_P, KEY_F12};
const std::string key_names[] = {"left", "right", "up", "down", "alt", "esc", "p", "f12"};

constexpr long MOST_TICKS = 2'000'000;

bool parse_keys(const std::string &word, unsigned &held) {
  held = 0;
  std::stringstream parts(word == "-" ? "" : word);
  std::string name;
  while (std::getline(parts, name, '+')) {
    auto known = std::find(std::begin(key_names), std::end(key_names), name);
    if (known == std::end(key_names)) return false;
    held |= 1u << (known - std::begin(key_names));
  }
  return !word.empty();
}

// "<tick> <keys>" or "<tick> <keys> press"; ticks count from 1.
bool parse_change(const std::string &tick, const std::string &keys, const std::string &press, Change &c) {
  char *end = nullptr;
  c.tick = std::strtol(tick.c_str(), &end, 10);
  c.press = press == "press";
  return *end == '\0' && c.tick > 0 && parse_keys(keys, c.held) && (press.empty() || c.press);
}

// "hash <hex>", "output <hex>", "score <n>" or "ticks <n>".
bool parse_figure(const std::string &name, const std::string &value, Recording &r) {
  char *end = nullptr;
  if (name == "hash") r.hash = std::strtoull(value.c_str(), &end, 16);
  if (name == "output") r.output = std::strtoull(value.c_str(), &end, 16);
  if (name == "score") r.score = static_cast<int>(std::strtol(value.c_str(), &end, 10));
  if (name == "ticks") r.ticks = std::strtol(value.c_str(), &end, 10);
  return end && end != value.c_str() && *end == '\0';
}

uint64_t chain(uint64_t running, uint64_t tick_hash) {
  running ^= tick_hash + 0x9e3779b97f4a7c15ull + (running << 6) + (running >> 2);
  return running * 1099511628211ull;
}

// The picture presented, in the palette it is shown in, eight pixels at a time.
uint64_t picture_hash(uint64_t running) {
  BITMAP *s = headless::screen();
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x + 8 <= s->w; x += 8) {
      uint64_t eight;
      std::memcpy(&eight, s->line[y] + x, 8);
      running = chain(running, eight);
    }
  PALETTE palette;
  get_palette(palette);
  for (const RGB &c : palette) running = chain(running, uint64_t(c.r) << 16 | c.g << 8 | c.b);
  return running;
}

uint64_t samples_hash(uint64_t running) {
  for (const headless::SampleCall &c : headless::samples())
    for (long v : {long(c.object), long(c.volume), long(c.pan), long(c.frequency), long(c.loop), long(c.stop), c.frame})
      running = chain(running, uint64_t(v));
  return running;
}

// Runs `program` from fresh globals and a fresh twin, chaining the world
// hash after every wait and calling `each` there too.
template <typename Each, typename Program>
Outcome run(Each each, Program program) {
  headless::reset();
  reset_world_state();
  Outcome outcome;
  headless::set_event_limit(MOST_TICKS);
  headless::set_hook([&](const headless::Event &e) {
    outcome.hash = chain(outcome.hash, world_hash());
    outcome.ticks = e.count;
    each(e, outcome);
  });
  try {
    outcome.status = program();
  } catch (const headless::Timeout &) {
    outcome.status = -1;
  }
  outcome.score = player.score;
  headless::set_hook(nullptr);
  return outcome;
}

}  // namespace

bool from_text(const std::string &text, Recording &recording, std::string &problem) {
  recording = Recording{};
  std::istringstream in(text);
  std::string line;
  bool keys_follow = false;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string first, second, third;
    words >> first >> second >> third;
    Change c;
    bool ok = keys_follow ? parse_change(first, second, third, c)
              : first == "input" ? (keys_follow = true)
                                 : parse_figure(first, second, recording);
    if (!ok) {
      problem = "not a recording line: " + line;
      return false;
    }
    if (keys_follow && first != "input") recording.changes.push_back(c);
  }
  return true;
}

bool from_file(const std::string &path, Recording &recording, std::string &problem) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return from_text(text.str(), recording, problem);
}

Outcome replay(const Recording &recording, const std::string &record_into) {
  size_t next = 0;
  Change held;
  // A game that no longer fits its keys is closed a little after the
  // recorded length instead of idling on the title.
  long closing = recording.ticks > 0 ? recording.ticks + 600 : MOST_TICKS;
  Outcome outcome = run(
      [&](const headless::Event &e, Outcome &o) {
        if (e.kind == headless::Wait::Present) o.output = picture_hash(o.output);
        if (e.count > closing) headless::request_close();
        held.press = false;
        while (next < recording.changes.size() && recording.changes[next].tick == e.count)
          held = recording.changes[next++];
        for (int k = 0; k < 8; ++k) headless::hold(scancodes[k], (held.held >> k) & 1);
        if (held.press) headless::press(KEY_SPACE, ' ');
      },
      [&] { return record_into.empty() ? game_main() : record_game(record_into, {}); });
  outcome.output = samples_hash(outcome.output);
  return outcome;
}

Outcome verify(const std::string &file, std::string &line) {
  testing::internal::CaptureStdout();
  Outcome outcome = run([](const headless::Event &, Outcome &) {}, [&] { return verify_recording(file); });
  line = testing::internal::GetCapturedStdout();
  return outcome;
}

}  // namespace replay

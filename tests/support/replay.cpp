#include "tests/support/replay.h"

#include "frame/fresh_state.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/recorded_run.h"
#include "frame/world_hash.h"
#include "platform/headless/headless_controls.h"
#include "tests/support/headless_game.h"

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

const char CHECKPOINT_FORMAT[] = "checkpoint %ld %llx score %d level %d lives %d x %d destroyed %d draws %llu";

bool parse_checkpoint(const std::string &line, Recording &r) {
  Checkpoint c;
  unsigned long long hash = 0, draws = 0;
  if (std::sscanf(line.c_str(), CHECKPOINT_FORMAT, &c.tick, &hash, &c.score, &c.level, &c.lives, &c.ship_x,
                  &c.enemies_destroyed, &draws) != 8)
    return false;
  c.hash = hash;
  c.random_draws = draws;
  r.checkpoints.push_back(c);
  return true;
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

// Folds one wait's world hash into the running one (a combine, not a hash
// of bytes; the stored figures depend on it).
uint64_t chain(uint64_t running, uint64_t tick_hash) {
  running ^= tick_hash + 0x9e3779b97f4a7c15ull + (running << 6) + (running >> 2);
  return running * 1099511628211ull;
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
    if (e.count % CHECKPOINT_TICKS == 0)
      outcome.checkpoints.push_back({e.count, outcome.hash, player.score, level, player.lives, player.x,
                                     enemies_destroyed, random_draws});
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
    bool ok = keys_follow             ? parse_change(first, second, third, c)
              : first == "input"      ? (keys_follow = true)
              : first == "checkpoint" ? parse_checkpoint(line, recording)
                                      : parse_figure(first, second, recording);
    if (!ok) {
      problem = "not a recording line: " + line;
      return false;
    }
    if (keys_follow && first != "input") recording.changes.push_back(c);
  }
  return true;
}

std::string checkpoint_lines(const std::vector<Checkpoint> &checkpoints) {
  std::string lines;
  for (const Checkpoint &c : checkpoints) {
    char line[200];
    std::snprintf(line, sizeof line, CHECKPOINT_FORMAT, c.tick, static_cast<unsigned long long>(c.hash), c.score,
                  c.level, c.lives, c.ship_x, c.enemies_destroyed, static_cast<unsigned long long>(c.random_draws));
    lines += std::string(line) + "\n";
  }
  return lines;
}

std::string first_difference(const std::vector<Checkpoint> &run, const std::vector<Checkpoint> &recorded) {
  for (size_t i = 0; i < std::min(run.size(), recorded.size()); ++i) {
    const Checkpoint &a = run[i], &b = recorded[i];
    if (a == b) continue;
    std::string what;
    auto note = [&](const char *name, long long now, long long then) {
      if (now != then) what += std::string(", ") + name + " " + std::to_string(now) + " (recorded " + std::to_string(then) + ")";
    };
    note("score", a.score, b.score);
    note("level", a.level, b.level);
    note("lives", a.lives, b.lives);
    note("ship x", a.ship_x, b.ship_x);
    note("enemies destroyed", a.enemies_destroyed, b.enemies_destroyed);
    note("random draws", static_cast<long long>(a.random_draws), static_cast<long long>(b.random_draws));
    return "first differs at tick " + std::to_string(a.tick) + " (checkpoint " + std::to_string(i + 1) + "): " +
           (what.empty() ? "the world hash only" : what.substr(2));
  }
  if (run.size() != recorded.size())
    return std::to_string(run.size()) + " checkpoints, recorded " + std::to_string(recorded.size());
  return {};
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
        if (e.kind == Wait::Present) o.output = picture_hash(o.output);
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

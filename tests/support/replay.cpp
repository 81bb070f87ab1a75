#include "tests/support/replay.h"

#include "frame/game_state.h"
#include "frame/program.h"
#include "tests/support/world_hash.h"

#include <allegro.h>

#include <cstdlib>
#include <sstream>

namespace replay {

namespace {

struct KeyName {
  Key key;
  int scancode;
  const char *name;
};
constexpr KeyName key_names[] = {
    {LEFT, KEY_LEFT, "left"}, {RIGHT, KEY_RIGHT, "right"}, {UP, KEY_UP, "up"},
    {DOWN, KEY_DOWN, "down"}, {ALT, KEY_ALT, "alt"},       {ESC, KEY_ESC, "esc"},
    {P, KEY_P, "p"},          {F12, KEY_F12, "f12"},
};

constexpr long MOST_TICKS = 2'000'000;

std::string keys_text(const Input &input) {
  std::string text;
  for (const KeyName &k : key_names)
    if (input.held & k.key) text += (text.empty() ? "" : "+") + std::string(k.name);
  if (text.empty()) text = "-";
  if (input.press) text += " press";
  return text;
}

bool parse_keys(const std::string &word, unsigned &held) {
  held = 0;
  if (word == "-") return true;
  std::stringstream parts(word);
  std::string name;
  while (std::getline(parts, name, '+')) {
    bool known = false;
    for (const KeyName &k : key_names)
      if (name == k.name) held |= k.key, known = true;
    if (!known) return false;
  }
  return true;
}

// "<tick> <keys>" or "<tick> <keys> press"; ticks count from 1.
bool parse_change(const std::string &tick, const std::string &keys, const std::string &press, Change &c) {
  char *end = nullptr;
  c.tick = std::strtol(tick.c_str(), &end, 10);
  c.input.press = press == "press";
  return *end == '\0' && c.tick > 0 && parse_keys(keys, c.input.held) && (press.empty() || c.input.press);
}

// "hash <hex>", "score <n>" or "ticks <n>".
bool parse_figure(const std::string &name, const std::string &value, Recording &r) {
  char *end = nullptr;
  if (name == "hash") r.hash = std::strtoull(value.c_str(), &end, 16);
  if (name == "score") r.score = static_cast<int>(std::strtol(value.c_str(), &end, 10));
  if (name == "ticks") r.ticks = std::strtol(value.c_str(), &end, 10);
  return end && end != value.c_str() && *end == '\0';
}

void apply(const Input &input) {
  for (const KeyName &k : key_names) headless::hold(k.scancode, (input.held & k.key) != 0);
  if (input.press) headless::press(KEY_SPACE, ' ');
}

uint64_t chain(uint64_t running, uint64_t tick_hash) {
  running ^= tick_hash + 0x9e3779b97f4a7c15ull + (running << 6) + (running >> 2);
  return running * 1099511628211ull;
}

}  // namespace

std::string to_text(const Recording &recording) {
  std::ostringstream out;
  for (const std::string &c : recording.comments) out << "# " << c << "\n";
  out << "hash " << std::hex << recording.hash << std::dec << "\n";
  out << "score " << recording.score << "\n";
  out << "ticks " << recording.ticks << "\n";
  out << "input\n";
  for (const Change &c : recording.changes) out << c.tick << " " << keys_text(c.input) << "\n";
  return out.str();
}

bool from_text(const std::string &text, Recording &recording, std::string &problem) {
  recording = Recording{};
  std::istringstream in(text);
  std::string line;
  bool keys_follow = false;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line[0] == '#') {
      recording.comments.push_back(line.size() > 2 ? line.substr(2) : "");
      continue;
    }
    std::istringstream words(line);
    std::string first, second, third;
    words >> first >> second >> third;
    bool ok;
    if (keys_follow) {
      Change c{};
      ok = parse_change(first, second, third, c);
      if (ok) recording.changes.push_back(c);
    } else {
      ok = first == "input" ? (keys_follow = true) : parse_figure(first, second, recording);
    }
    if (!ok) {
      problem = "not a recording line: " + line;
      return false;
    }
  }
  return true;
}

Outcome replay(const Recording &recording, bool keep_per_tick) {
  headless::reset();
  reset_world_state();
  Outcome outcome;
  size_t next = 0;
  Input held;
  // A game that no longer fits its keys is closed a little after the
  // recorded length instead of idling on the title.
  long closing = recording.ticks > 0 ? recording.ticks + 600 : MOST_TICKS;
  headless::set_event_limit(MOST_TICKS);
  headless::set_hook([&](const headless::Event &e) {
    uint64_t h = world_hash();
    outcome.hash = chain(outcome.hash, h);
    if (keep_per_tick) outcome.per_tick.push_back(h);
    outcome.ticks = e.count;
    if (e.count > closing) headless::request_close();
    held.press = false;
    while (next < recording.changes.size() && recording.changes[next].tick == e.count)
      held = recording.changes[next++].input;
    apply(held);
  });
  try {
    outcome.status = game_main();
  } catch (const headless::Timeout &) {
    outcome.status = -1;
  }
  outcome.score = player.score;
  headless::set_hook(nullptr);
  return outcome;
}

}  // namespace replay

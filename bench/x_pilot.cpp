// The benchmark's pilot: steers the ship clear of harm in the game's window
// with real key events (the XTest extension, as xdotool sends them), by the
// lines the game writes with SWARMFIRE_PLAY_FEED (frame/play_feed.h), as a
// player does by the picture, without firing (another client fires). Left
// and Right steer the ship to the place nearest the point under the nearest
// enemy that stays clear of every falling shot and low enemy for the next
// half second, the ship's speed, friction and the key already on its way
// taken into account.
//   x_pilot FEED dodge SECONDS
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Thing {
  int x, y, w, h, dx, dy, pad;
};

struct Ship {
  int x, v, friction, max, reverse;
};

struct View {
  long frame = -1;
  Ship ship{};
  std::vector<Thing> things;
  std::vector<Thing> foes;  // the enemies, in the feed's order
  int target = 145;  // where the ship would be under the nearest enemy
};

constexpr int SHIP_W = 16, SHIP_TOP = 214, SHIP_BOTTOM = 230, RIGHTMOST = 290;
constexpr int SHOT_SPEED = 4;  // the ship's shots, pixels a tick upwards
constexpr int HORIZON = 60;  // ticks looked ahead
constexpr int ENOUGH = 30;   // ticks clear that count fully

int sign(int v) { return (v > 0) - (v < 0); }

// One tick of the game's controls (frame/controls.cpp) under a key.
void tick(Ship &s, int key) {
  if (++s.friction == 2) {
    s.v -= sign(s.v);
    s.friction = 0;
  }
  if (key < 0 && s.v > -s.max) --s.v;
  if (key > 0 && s.v < s.max) ++s.v;
  s.x += s.reverse ? -s.v : s.v;
  s.x = std::clamp(s.x, 0, RIGHTMOST);
}

// The key that brings the ship to p and stops it there.
int steer(const Ship &s, int p) {
  int d = s.reverse ? s.x - p : p - s.x;
  int v = s.v;
  if (d != 0 && sign(v) == sign(d) && std::abs(d) <= v * v / 3 + std::abs(v)) return -sign(v);
  if (std::abs(d) <= 2) return std::abs(v) > 1 ? -sign(v) : 0;
  return sign(d) * (s.reverse ? -1 : 1);
}

bool touches(int ship_x, const Thing &t, int ticks) {
  int x = t.x + t.dx * ticks, y = t.y + t.dy * ticks;
  return x - t.pad < ship_x + SHIP_W && x + t.w + t.pad > ship_x && y < SHIP_BOTTOM + 2 &&
         y + t.h > SHIP_TOP - 2;
}

// Ticks the ship stays clear of everything when the keys on their way act
// first, then it steers to p.
int clear_ticks(Ship s, int p, const View &view, const std::vector<int> &on_the_way) {
  int t = 0;
  auto hit = [&] {
    for (const Thing &thing : view.things)
      if (touches(s.x, thing, t)) return true;
    return false;
  };
  for (int key : on_the_way) {
    tick(s, key);
    ++t;
    if (hit()) return t;
  }
  while (t < HORIZON) {
    tick(s, steer(s, p));
    ++t;
    if (hit()) return t;
  }
  return HORIZON;
}

// The key for this frame. The key sent after the last frame acts on the
// next tick, or, when it came late, the one before it does.
int pilot_key(const View &view, int sent, int acting, int &place) {
  static int clear[RIGHTMOST + 1];
  for (int p = 0; p <= RIGHTMOST; p += 2)
    clear[p] = std::min(clear_ticks(view.ship, p, view, {sent}), clear_ticks(view.ship, p, view, {acting, sent}));
  bool keep = place >= 0 && clear[place] >= HORIZON && std::abs(place - view.target) < 6;
  if (!keep) {
    auto safe = [&](int q) { return q < 0 || q > RIGHTMOST || clear[q] >= HORIZON; };
    int best_score = -(1 << 30);
    for (int p = 0; p <= RIGHTMOST; p += 2) {
      int room = 0;  // clear places on both sides
      while (room < 8 && safe(p - 2 * (room + 1)) && safe(p + 2 * (room + 1))) ++room;
      int score = std::min(clear[p], ENOUGH) * 40 + room * 6 - std::abs(p - view.target);
      if (score > best_score) best_score = score, place = p;
    }
  }
  Ship next = view.ship;
  tick(next, sent);
  return steer(next, place);
}

// "frame level lives level_end  x v friction max reverse  shots N ...  enemies N ..."
bool parse(const std::string &line, View &view) {
  std::istringstream in(line);
  std::string word;
  View v;
  int shots = 0, enemies = 0, level, lives, level_end;
  in >> v.frame >> level >> lives >> level_end >> v.ship.x >> v.ship.v >> v.ship.friction >> v.ship.max >>
      v.ship.reverse >> word >> shots;
  if (!in || word != "shots") return false;
  for (int i = 0; i < shots; ++i) {
    Thing t{};
    in >> t.x >> t.y >> t.w >> t.h >> t.dx >> t.dy;
    t.pad = 2;
    v.things.push_back(t);
  }
  in >> word >> enemies;
  if (!in || word != "enemies") return false;
  for (int i = 0; i < enemies; ++i) {
    Thing t{};
    in >> t.x >> t.y >> t.w >> t.h;
    // Low enemies may dive into the ship: wide berth, falling.
    if (t.y > 90) v.things.push_back({t.x, t.y, t.w, t.h, 0, 2, 6});
    v.foes.push_back(t);
  }
  if (!in) return false;
  view = v;
  return true;
}

// The target: the place under the nearest enemy where a shot fired now
// meets it, its motion since the last line carried on for the shot's climb
// (a formation sways a pixel a tick; aimed at where an enemy is, a shot
// passes behind it, and the last enemy of a level is never hit).
void aim(View &view, const View &last) {
  bool same = last.foes.size() == view.foes.size() && view.frame > last.frame;
  int nearest = 1 << 30;
  for (size_t i = 0; i < view.foes.size(); ++i) {
    const Thing &t = view.foes[i];
    int climb = std::max(0, SHIP_TOP - t.y - t.h) / SHOT_SPEED;
    int dx = same ? (t.x - last.foes[i].x) / int(view.frame - last.frame) : 0;
    int under = std::clamp(t.x + dx * climb + t.w / 2 - SHIP_W / 2, 0, RIGHTMOST);
    if (std::abs(under - view.ship.x) < nearest) nearest = std::abs(under - view.ship.x), view.target = under;
  }
}

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

struct Keys {
  Display *display;
  KeyCode left, right;
  bool held_left = false, held_right = false;

  void set(KeyCode code, bool &held, bool down) {
    if (held == down) return;
    XTestFakeKeyEvent(display, code, down, CurrentTime);
    held = down;
  }
  void steer(int key) {
    set(left, held_left, key < 0);
    set(right, held_right, key > 0);
    XFlush(display);
  }
};

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4 || std::strcmp(argv[2], "dodge") != 0) {
    std::fprintf(stderr, "usage: x_pilot FEED dodge SECONDS\n");
    return 2;
  }
  double until = now() + std::atof(argv[3]);
  Display *display = XOpenDisplay(nullptr);
  std::FILE *feed = std::fopen(argv[1], "r");
  if (!display || !feed) {
    std::fprintf(stderr, "x_pilot: no display or no feed %s\n", argv[1]);
    return 2;
  }
  std::fseek(feed, 0, SEEK_END);
  Keys keys{display, XKeysymToKeycode(display, XK_Left), XKeysymToKeycode(display, XK_Right)};
  std::string partial;
  char buffer[65536];
  int sent = 0, acting = 0, place = -1;
  View last;
  while (now() < until) {
    size_t n = std::fread(buffer, 1, sizeof buffer, feed);
    if (n == 0) {
      std::clearerr(feed);
      timespec pause{0, 1'000'000};
      nanosleep(&pause, nullptr);
      continue;
    }
    partial.append(buffer, n);
    size_t end = partial.rfind('\n');
    if (end == std::string::npos) continue;
    size_t start = partial.rfind('\n', end - 1);
    std::string line = partial.substr(start == std::string::npos ? 0 : start + 1, end - start - 1);
    partial.erase(0, end + 1);
    View view;
    if (!parse(line, view)) continue;
    aim(view, last);
    last = view;
    int key = pilot_key(view, sent, acting, place);
    acting = sent;
    sent = key;
    keys.steer(key);
  }
  keys.steer(0);
  XCloseDisplay(display);
  return 0;
}

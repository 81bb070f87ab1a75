// Key-to-sound latency of the real game: presses the fire key (Alt) through
// the XTest extension at random moments, each once the emulated sound card
// (tools/emulated_card.cpp) has played 100 ms of silence, and finds
// each shot's first sample in the card's stream, which tells when it left
// the buffer. Presses and the card's times are on the same clock
// (CLOCK_MONOTONIC).
// Usage: key_to_sound CARD_LOG STREAM SHOTS [LATENCIES_OUT]
// Prints: "shots N heard H median M p10 A p90 B underruns U minutes T"
// (ms; U counted from the first press to the end). Exit 1 when the card
// never started or no shot was heard.
#include "platform/sys/monotonic_clock.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr long long MS = NS_PER_MS;
constexpr long long SILENCE_BEFORE = 100 * MS;
constexpr long long LONGEST_WAIT = 400 * MS;  // a shot heard later than this is missed
constexpr int LOUD = 64;                      // of 32768: about -54 dB, well above the mixer's silence

void sleep_ns(long long ns) { sleep_until(now_ns() + ns); }

struct Segment {
  long long start_ns;
  long long first_frame;
};

// What the card's log says so far.
struct Card {
  int rate = 0, channels = 0, bytes = 0;  // bytes a sample
  bool is_unsigned = false;
  std::vector<Segment> segments;
  std::vector<long long> underruns;  // ns

  bool read(const char *path) {
    std::ifstream in(path);
    std::string line;
    *this = Card{};
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string what, format;
      words >> what;
      if (what == "params") {
        words >> rate >> channels >> format;
        bytes = format.find("16") != std::string::npos ? 2 : 1;
        is_unsigned = format[0] == 'U';
      } else if (what == "start") {
        Segment s{};
        words >> s.start_ns >> s.first_frame;
        segments.push_back(s);
      } else if (what == "underrun") {
        long long ns = 0;
        words >> ns;
        underruns.push_back(ns);
      }
    }
    return rate > 0 && !segments.empty();
  }

  long long frame_bytes() const { return static_cast<long long>(channels) * bytes; }

  // The frame leaving the buffer at `ns` (the next one to leave when the
  // card stands still after an underrun).
  long long frame_at(long long ns) const {
    for (size_t i = segments.size(); i-- > 0;) {
      const Segment &s = segments[i];
      if (s.start_ns > ns) continue;
      long long frame = s.first_frame + (ns - s.start_ns) * rate / NS_PER_SECOND;
      if (i + 1 < segments.size()) frame = std::min(frame, segments[i + 1].first_frame);
      return frame;
    }
    return 0;
  }

  long long leaves_at(long long frame) const {
    const Segment *s = &segments[0];
    for (const Segment &candidate : segments)
      if (candidate.first_frame <= frame) s = &candidate;
    return s->start_ns + (frame - s->first_frame) * NS_PER_SECOND / rate;
  }
};

// The loudest channel of a frame, as a distance from silence (0 to 32768).
int level(const Card &card, const uint8_t *frame) {
  int loudest = 0;
  for (int c = 0; c < card.channels; ++c) {
    int v;
    if (card.bytes == 2) {
      int raw = frame[2 * c] | (frame[2 * c + 1] << 8);
      v = card.is_unsigned ? raw - 32768 : static_cast<int16_t>(raw);
    } else {
      v = (card.is_unsigned ? frame[c] - 128 : static_cast<int8_t>(frame[c])) * 256;
    }
    loudest = std::max(loudest, std::abs(v));
  }
  return loudest;
}

std::vector<uint8_t> read_frames(const char *stream, const Card &card, long long from, long long to) {
  std::vector<uint8_t> data;
  if (to <= from) return data;
  data.resize(static_cast<size_t>((to - from) * card.frame_bytes()));
  int fd = open(stream, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  ssize_t got = pread(fd, data.data(), data.size(), from * card.frame_bytes());
  close(fd);
  data.resize(got > 0 ? static_cast<size_t>(got) / card.frame_bytes() * card.frame_bytes() : 0);
  return data;
}

// Whether the card played nothing louder than silence from `from` to `to`.
bool silent_between(const Card &card, const char *stream, long long from, long long to) {
  long long a = card.frame_at(from), b = card.frame_at(to);
  std::vector<uint8_t> data = read_frames(stream, card, a, b);
  for (size_t i = 0; i + card.frame_bytes() <= data.size(); i += card.frame_bytes())
    if (level(card, &data[i]) > LOUD) return false;
  return true;
}

// ns from the press to the first loud frame leaving the card after it, or
// -1 when none does within LONGEST_WAIT.
long long onset_after(const Card &card, const char *stream, long long press) {
  long long a = card.frame_at(press), b = card.frame_at(press + LONGEST_WAIT);
  std::vector<uint8_t> data = read_frames(stream, card, a, b);
  for (size_t i = 0; i + card.frame_bytes() <= data.size(); i += card.frame_bytes())
    if (level(card, &data[i]) > LOUD)
      return card.leaves_at(a + static_cast<long long>(i / card.frame_bytes())) - press;
  return -1;
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  double at = p * (v.size() - 1);
  size_t i = static_cast<size_t>(at);
  return i + 1 < v.size() ? v[i] + (at - i) * (v[i + 1] - v[i]) : v.back();
}

struct Fire {
  Display *display;
  KeyCode key;
  void set(bool down) {
    XTestFakeKeyEvent(display, key, down, CurrentTime);
    XFlush(display);
  }
};

}  // namespace

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: key_to_sound CARD_LOG STREAM SHOTS [LATENCIES_OUT]\n");
    return 2;
  }
  const char *log = argv[1], *stream = argv[2];
  int shots = std::atoi(argv[3]);
  Display *display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "key_to_sound: no X display\n");
    return 2;
  }
  Fire fire{display, XKeysymToKeycode(display, XK_Alt_L)};
  Card card;
  for (int i = 0; i < 100 && !card.read(log); ++i) sleep_ns(100 * MS);
  if (!card.read(log)) {
    std::fprintf(stderr, "key_to_sound: the card never started (%s)\n", log);
    return 1;
  }

  // Presses at random moments: at least a second apart (a shot flies off
  // the screen within one, so the last one's hit cannot sound after the
  // next press), each once 100 ms of silence have been heard.
  std::mt19937_64 random(static_cast<unsigned long long>(now_ns()));
  std::uniform_int_distribution<long long> pause(1000 * MS, 1400 * MS);
  std::vector<long long> presses;
  for (int i = 0; i < shots; ++i) {
    sleep_ns(pause(random));
    for (int tries = 0; tries < 600; ++tries) {
      card.read(log);
      long long t = now_ns();
      if (silent_between(card, stream, t - SILENCE_BEFORE, t)) break;
      sleep_ns(5 * MS);
    }
    presses.push_back(now_ns());
    fire.set(true);
    sleep_ns(80 * MS);  // held for several frames
    fire.set(false);
  }
  sleep_ns(LONGEST_WAIT + 200 * MS);
  long long end = now_ns();
  XCloseDisplay(display);

  card.read(log);
  std::vector<double> heard;
  std::FILE *out = argc > 4 ? std::fopen(argv[4], "w") : nullptr;
  for (long long press : presses) {
    if (!silent_between(card, stream, press - SILENCE_BEFORE, press)) continue;  // not after silence
    long long latency = onset_after(card, stream, press);
    if (out) std::fprintf(out, "%lld %.2f\n", press, latency / 1e6);
    if (latency >= 0) heard.push_back(latency / 1e6);
  }
  if (out) std::fclose(out);
  int underruns = static_cast<int>(std::count_if(card.underruns.begin(), card.underruns.end(),
                                                 [&](long long t) { return t >= presses.front() && t <= end; }));
  double minutes = (end - presses.front()) / 60e9;
  if (heard.empty()) {
    std::printf("shots %d heard 0 underruns %d minutes %.2f\n", shots, underruns, minutes);
    return 1;
  }
  std::printf("shots %d heard %zu median %.1f p10 %.1f p90 %.1f underruns %d minutes %.2f\n", shots, heard.size(),
              percentile(heard, 0.5), percentile(heard, 0.1), percentile(heard, 0.9), underruns, minutes);
  return 0;
}

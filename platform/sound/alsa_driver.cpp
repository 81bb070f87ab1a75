#include "platform/sound/alsa_driver.h"

#include "platform/sound/realtime.h"
#include "platform/sound/sound_fill.h"
#include "platform/sys/monotonic_clock.h"
#include "platform/sys/threads.h"

#include <alsa/asoundlib.h>
#include <allegro.h>
#include <allegro/internal/aintern.h>
#include <allegro/platform/aintunix.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Below the sound server's own threads (PipeWire's run at 88 and above),
// above everything that runs at normal priority.
constexpr int PRIORITY = 10;
// Defaults of the period and of the frames queued at rest (20 ms at
// 44.1 kHz), in whole periods, at least three.
constexpr int SOUND_PERIOD_FRAMES = 128;
constexpr int SOUND_REST_FRAMES = 896;
constexpr int SOUND_LEAST_REST_PERIODS = 3;
// The thread sleeps until this much room is free (in whole periods, and
// leaving at least two periods queued): 115 wakeups a second at 44.1 kHz
// instead of one a period. The rest, 512 frames, is what the card plays
// while the thread is late to wake (a busy machine's 10 ms and more). A
// sound started meanwhile waits for the next top-up, then for what is
// queued: on average 384 / 2 + 512 frames, 15.9 ms.
constexpr int SOUND_WAKE_FRAMES = 384;
// Through PipeWire that room is also the latency its graph is asked for,
// the quantum it then runs every client at, and the graph takes a quantum
// at a time: there the room stays 256 frames and the buffer 768, the
// margin of two quanta.
constexpr int PIPEWIRE_WAKE_FRAMES = 256;
constexpr int PIPEWIRE_REST_FRAMES = 768;
constexpr int MOST_CARD_FDS = 8;
// Wakeups in a row that found no room before the thread naps while the
// room it waits for plays: a card whose descriptor stays ready must not
// spin it.
constexpr int IDLE_WAKES = 3;
// A card's clock may run this many times faster than ours, at most: 1 %.
constexpr long long CLOCK_MARGIN = 100;

struct Stream {
  snd_pcm_t *pcm = nullptr;
  snd_pcm_uframes_t period = 0, buffer = 0;
  snd_pcm_uframes_t mixed_period = 0;  // the mixer's, once it is set up
  snd_pcm_uframes_t wake = 0;          // room free before the thread wakes
  bool pipewire = false;               // through PipeWire's plugin
  unsigned rate = 0;
  int frame_bytes = 0;
  bool is_signed = false;
  std::vector<unsigned char> mixed;    // periods as the card takes them, a buffer's worth
  std::vector<unsigned char> silence;  // a period of it
  int silent_periods = 0;              // mixed in a row
  long long clock_start_ns = 0, clock_written = 0;  // since the stream last started
  SoundFill fill;
  int stop_fd = -1;
  pthread_t thread{};
  bool thread_running = false;
  std::FILE *log = nullptr;
};
Stream stream;
char description[256];

void log_line(const char *what, long long a, long long b) {
  if (!stream.log) return;
  std::fprintf(stream.log, "%s %lld %lld\n", what, a, b);
  std::fflush(stream.log);
}

const char *device_name() { return get_config_string("sound", "alsa_device", "default"); }

// --- The card's parameters ------------------------------------------------

// 16 bits unless the configuration asks for 8; unsigned where the card
// takes it, as the library's driver chooses.
int choose_format(Stream &s, snd_pcm_hw_params_t *hw) {
  static const snd_pcm_format_t eight[] = {SND_PCM_FORMAT_U8, SND_PCM_FORMAT_S8};
  static const snd_pcm_format_t sixteen[] = {SND_PCM_FORMAT_U16, SND_PCM_FORMAT_S16};
  const snd_pcm_format_t *formats = _sound_bits == 8 ? eight : sixteen;
  for (int i = 0; i < 2; ++i) {
    if (snd_pcm_hw_params_test_format(s.pcm, hw, formats[i]) < 0) continue;
    s.is_signed = i == 1;
    return snd_pcm_hw_params_set_format(s.pcm, hw, formats[i]);
  }
  return -EINVAL;
}

// The fill's periods of `period` frames (the card may round both).
int set_hardware(Stream &s, snd_pcm_uframes_t period) {
  snd_pcm_hw_params_t *hw;
  snd_pcm_hw_params_alloca(&hw);
  unsigned channels = _sound_stereo ? 2 : 1;
  unsigned periods = static_cast<unsigned>(s.fill.periods);
  s.rate = _sound_freq > 0 ? static_cast<unsigned>(_sound_freq) : 44100;
  int err;
  if ((err = snd_pcm_hw_params_any(s.pcm, hw)) < 0 ||
      (err = snd_pcm_hw_params_set_access(s.pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0 ||
      (err = choose_format(s, hw)) < 0 || (err = snd_pcm_hw_params_set_channels(s.pcm, hw, channels)) < 0 ||
      (err = snd_pcm_hw_params_set_rate_near(s.pcm, hw, &s.rate, nullptr)) < 0 ||
      (err = snd_pcm_hw_params_set_period_size_near(s.pcm, hw, &period, nullptr)) < 0 ||
      (err = snd_pcm_hw_params_set_periods_near(s.pcm, hw, &periods, nullptr)) < 0 ||
      (err = snd_pcm_hw_params(s.pcm, hw)) < 0 ||
      (err = snd_pcm_hw_params_get_period_size(hw, &s.period, nullptr)) < 0 ||
      (err = snd_pcm_hw_params_get_buffer_size(hw, &s.buffer)) < 0)
    return err;
  if (s.mixed_period && s.period != s.mixed_period) return -EINVAL;  // the mixer mixes periods of its own size
  s.frame_bytes = static_cast<int>(channels) * (_sound_bits == 8 ? 1 : 2);
  return 0;
}

// Whether the device is PipeWire's (pipewire-alsa), by its type in ALSA's
// configuration.
bool through_pipewire() {
  snd_config_t *conf = nullptr, *type = nullptr;
  const char *name = nullptr;
  if (snd_config_update() < 0 || snd_config_search_definition(snd_config, "pcm", device_name(), &conf) < 0)
    return false;
  bool pipewire = snd_config_search(conf, "type", &type) >= 0 && snd_config_get_string(type, &name) >= 0 &&
                  std::strcmp(name, "pipewire") == 0;
  snd_config_delete(conf);
  return pipewire;
}

// Whole periods, at least one, up to the room asked for, and two periods
// short of the buffer.
snd_pcm_uframes_t wake_frames(const Stream &s) {
  snd_pcm_uframes_t most = (s.pipewire ? PIPEWIRE_WAKE_FRAMES : SOUND_WAKE_FRAMES) / s.period;
  snd_pcm_uframes_t periods = s.buffer / s.period;
  if (periods >= 2 && most > periods - 2) most = periods - 2;
  return (most > 0 ? most : 1) * s.period;
}

// The card wakes the thread once its room is free (through PipeWire, this
// is also the latency its graph is asked for: a quantum of about that
// room); the stream starts only when the thread starts it.
int set_software(Stream &s) {
  snd_pcm_sw_params_t *sw;
  snd_pcm_sw_params_alloca(&sw);
  snd_pcm_uframes_t boundary;
  int err;
  if ((err = snd_pcm_sw_params_current(s.pcm, sw)) < 0 ||
      (err = snd_pcm_sw_params_get_boundary(sw, &boundary)) < 0 ||
      (err = snd_pcm_sw_params_set_start_threshold(s.pcm, sw, boundary)) < 0 ||
      (err = snd_pcm_sw_params_set_avail_min(s.pcm, sw, s.wake = wake_frames(s))) < 0)
    return err;
  return snd_pcm_sw_params(s.pcm, sw);
}

int configure(Stream &s, snd_pcm_uframes_t period) {
  int err = set_hardware(s, period);
  if (err >= 0) err = set_software(s);
  if (err >= 0) log_line("params", static_cast<long long>(s.period), static_cast<long long>(s.buffer));
  if (err >= 0) log_line("wake", static_cast<long long>(s.wake), 0);
  return err;
}

// --- The stream ---------------------------------------------------------

// Frames the stream may take now by the clock: the buffer, and what plays
// meanwhile, with a margin for a card's clock a little fast. A device that
// takes everything at once (ALSA's null and file devices) is so kept to the
// pace of a card instead of spinning the thread.
long long due_by_clock(const Stream &s) {
  long long played = (now_ns() - s.clock_start_ns) / 1000 * s.rate / 1'000'000;
  return static_cast<long long>(s.buffer) + played + played / CLOCK_MARGIN - s.clock_written;
}

// Mixes the whole periods there is room for, one after the other, and
// writes them to the card at once: one call into its plugin a wakeup. The
// periods written, or ALSA's error.
int top_up(Stream &s) {
  snd_pcm_sframes_t avail = snd_pcm_avail_update(s.pcm);
  if (avail < 0) return static_cast<int>(avail);
  long long due = due_by_clock(s);
  if (due < avail) avail = static_cast<snd_pcm_sframes_t>(due);
  size_t period_bytes = s.period * s.frame_bytes;
  long long periods = std::min<long long>(avail / static_cast<snd_pcm_sframes_t>(s.period),
                                          static_cast<long long>(s.mixed.size() / period_bytes));
  for (long long i = 0; i < periods; ++i) {
    unsigned char *at = s.mixed.data() + i * period_bytes;
    _mix_some_samples(reinterpret_cast<uintptr_t>(at), 0, s.is_signed);
    s.silent_periods = std::memcmp(at, s.silence.data(), period_bytes) == 0 ? s.silent_periods + 1 : 0;
  }
  snd_pcm_uframes_t frames = static_cast<snd_pcm_uframes_t>(periods) * s.period;
  for (snd_pcm_uframes_t done = 0; done < frames;) {
    snd_pcm_sframes_t written = snd_pcm_writei(s.pcm, s.mixed.data() + done * s.frame_bytes, frames - done);
    if (written < 0) return static_cast<int>(written);
    done += static_cast<snd_pcm_uframes_t>(written);
    s.clock_written += written;
  }
  return static_cast<int>(periods);
}

// The stream started with its buffer full.
int start_full(Stream &s) {
  s.clock_start_ns = now_ns();
  s.clock_written = 0;
  int err = top_up(s);
  if (err < 0) return err;
  if ((err = snd_pcm_start(s.pcm)) < 0) return err;
  log_line("start", now_ns(), static_cast<long long>(s.buffer));
  return 0;
}

// Stopped, given the fill's periods, and started full again.
int restart(Stream &s) {
  snd_pcm_drop(s.pcm);
  int err = snd_pcm_hw_free(s.pcm);
  if (err >= 0) err = configure(s, s.period);
  if (err >= 0) err = start_full(s);
  return err;
}

// After an underrun a period more, and the stream started full; a suspend
// only starts it again. False when the card is gone for good (unplugged,
// say).
bool recover(Stream &s, int err) {
  long long now = now_ns();
  if (err == -EPIPE || snd_pcm_state(s.pcm) == SND_PCM_STATE_XRUN) {
    sound_fill_underran(s.fill, now);
    log_line("underrun", now, s.fill.periods);
    return restart(s) >= 0;
  }
  if (snd_pcm_recover(s.pcm, err, 1) < 0 && snd_pcm_prepare(s.pcm) < 0) return false;
  return start_full(s) >= 0;
}

// A quiet minute after an underrun the buffer shrinks by a period, once
// all it holds is silence, so that the restart is not heard.
bool settle(Stream &s) {
  long long now = now_ns();
  if (!sound_fill_may_shrink(s.fill, now) || s.silent_periods * s.period < s.buffer) return true;
  sound_fill_shrunk(s.fill, now);
  log_line("shrink", now, s.fill.periods);
  return restart(s) >= 0;
}

bool ran_dry(snd_pcm_t *pcm) {
  snd_pcm_state_t state = snd_pcm_state(pcm);
  return state == SND_PCM_STATE_XRUN || state == SND_PCM_STATE_SUSPENDED;
}

// --- The thread ---------------------------------------------------------

// Waits for the card's readiness or the stop; false on the stop. Should the
// card say nothing, the thread still wakes once the buffer could have
// played out.
bool wait_for_room(Stream &s, unsigned short &revents) {
  pollfd fds[1 + MOST_CARD_FDS];
  fds[0] = {s.stop_fd, POLLIN, 0};
  int count = snd_pcm_poll_descriptors(s.pcm, fds + 1, MOST_CARD_FDS);
  if (count < 0) count = 0;
  int timeout_ms = static_cast<int>(1000ULL * s.buffer / s.rate) + 1;
  int ready = poll(fds, 1 + count, timeout_ms);
  if (ready > 0 && fds[0].revents) return false;
  revents = POLLOUT;
  if (ready > 0 && count > 0) snd_pcm_poll_descriptors_revents(s.pcm, fds + 1, count, &revents);
  return true;
}

// Without a card the game plays on in silence; the thread only waits for
// the stop.
void wait_for_stop(const Stream &s) {
  pollfd stop{s.stop_fd, POLLIN, 0};
  while (poll(&stop, 1, -1) < 0 && errno == EINTR) {
  }
}

void *thread_main(void *) {
  Stream &s = stream;
  Realtime way = make_thread_realtime(PRIORITY);
  if (s.log)
    std::fprintf(s.log, "realtime %s\n",
                 way == Realtime::DIRECT ? "direct" : way == Realtime::REALTIMEKIT ? "realtimekit" : "none");
  int err = start_full(s);
  bool alive = err >= 0 || recover(s, err);
  unsigned short revents = 0;
  int idle = 0;
  while (alive && wait_for_room(s, revents)) {
    err = (revents & POLLERR) || ran_dry(s.pcm) ? -EPIPE : top_up(s);
    if (err == -EAGAIN) err = 0;
    alive = err < 0 ? recover(s, err) : settle(s);
    idle = err == 0 ? idle + 1 : 0;
    if (idle >= IDLE_WAKES) sleep_until(now_ns() + NS_PER_SECOND * static_cast<long long>(s.wake) / s.rate);
  }
  if (alive) return nullptr;
  log_line("lost", now_ns(), 0);
  wait_for_stop(s);
  return nullptr;
}

bool start_sound_thread(Stream &s) {
  s.stop_fd = eventfd(0, EFD_CLOEXEC);
  if (s.stop_fd < 0) return false;
  s.thread_running = start_thread(s.thread, thread_main, "sound");
  return s.thread_running;
}

void stop_sound_thread(Stream &s) {
  if (s.thread_running) {
    uint64_t one = 1;
    while (write(s.stop_fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    pthread_join(s.thread, nullptr);
    s.thread_running = false;
  }
  if (s.stop_fd >= 0) close(s.stop_fd);
  s.stop_fd = -1;
}

// --- The library's driver ------------------------------------------------

void close_stream(Stream &s) {
  if (s.pcm) snd_pcm_close(s.pcm);
  s.pcm = nullptr;
  s.mixed_period = 0;
  if (s.log) std::fclose(s.log);
  s.log = nullptr;
}

int driver_detect(int input) {
  if (input) return FALSE;
  snd_pcm_t *pcm;
  if (snd_pcm_open(&pcm, device_name(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
    ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "Can not open card/pcm device");
    return FALSE;
  }
  snd_pcm_close(pcm);
  return TRUE;
}

int driver_init(int input, int voices);
void driver_exit(int input);
int driver_buffer_size() { return static_cast<int>(stream.period); }

DIGI_DRIVER make_driver() {
  DIGI_DRIVER d{};
  d.id = SOUND_DRIVER_ID;
  d.name = d.desc = d.ascii_name = "ALSA (the game's)";
  d.max_voices = MIXER_MAX_SFX;
  d.def_voices = MIXER_DEF_SFX;
  d.detect = driver_detect;
  d.init = driver_init;
  d.exit = driver_exit;
  d.buffer_size = driver_buffer_size;
  d.init_voice = _mixer_init_voice;
  d.release_voice = _mixer_release_voice;
  d.start_voice = _mixer_start_voice;
  d.stop_voice = _mixer_stop_voice;
  d.loop_voice = _mixer_loop_voice;
  d.get_position = _mixer_get_position;
  d.set_position = _mixer_set_position;
  d.get_volume = _mixer_get_volume;
  d.set_volume = _mixer_set_volume;
  d.ramp_volume = _mixer_ramp_volume;
  d.stop_volume_ramp = _mixer_stop_volume_ramp;
  d.get_frequency = _mixer_get_frequency;
  d.set_frequency = _mixer_set_frequency;
  d.sweep_frequency = _mixer_sweep_frequency;
  d.stop_frequency_sweep = _mixer_stop_frequency_sweep;
  d.get_pan = _mixer_get_pan;
  d.set_pan = _mixer_set_pan;
  d.sweep_pan = _mixer_sweep_pan;
  d.stop_pan_sweep = _mixer_stop_pan_sweep;
  d.set_echo = _mixer_set_echo;
  d.set_tremolo = _mixer_set_tremolo;
  d.set_vibrato = _mixer_set_vibrato;
  return d;
}
DIGI_DRIVER driver = make_driver();

int driver_init(int input, int voices) {
  if (input) return -1;
  Stream &s = stream;
  if (const char *path = std::getenv("SWARMFIRE_SOUND_LOG")) s.log = std::fopen(path, "ae");
  int period = get_config_int("sound", "alsa_fragsize", SOUND_PERIOD_FRAMES);
  if (period <= 0) period = SOUND_PERIOD_FRAMES;
  int err = snd_pcm_open(&s.pcm, device_name(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  s.pipewire = err >= 0 && through_pipewire();
  int rest_frames = s.pipewire ? PIPEWIRE_REST_FRAMES : SOUND_REST_FRAMES;
  int rest = std::max((rest_frames + period - 1) / period, SOUND_LEAST_REST_PERIODS);
  s.fill = sound_fill_start(get_config_int("sound", "alsa_numfrags", rest), now_ns());
  if (err >= 0) err = configure(s, static_cast<snd_pcm_uframes_t>(period));
  if (err < 0) {
    uszprintf(allegro_error, ALLEGRO_ERROR_SIZE, "ALSA: %s", snd_strerror(err));
    close_stream(s);
    return -1;
  }
  int channels = _sound_stereo ? 2 : 1;
  unsigned char silent = s.is_signed ? 0 : 0x80;  // the high byte of a 16-bit sample, little-endian
  // The largest buffer: twice the periods at rest, or more where the card
  // took more.
  size_t most_frames = std::max<size_t>(2 * static_cast<size_t>(s.fill.rest) * s.period, s.buffer);
  s.mixed.assign(most_frames * s.frame_bytes, 0);
  s.silence.assign(s.period * s.frame_bytes, _sound_bits == 8 ? silent : 0);
  for (size_t i = 1; _sound_bits != 8 && i < s.silence.size(); i += 2) s.silence[i] = silent;
  s.silent_periods = 0;
  s.mixed_period = s.period;
  driver.voices = voices;
  if (_mixer_init(static_cast<int>(s.period) * channels, static_cast<int>(s.rate), channels == 2,
                  _sound_bits != 8, &driver.voices) != 0) {
    ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "Can not init software mixer");
    close_stream(s);
    return -1;
  }
  if (!start_sound_thread(s)) {
    ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "Can not start the sound thread");
    _mixer_exit();
    close_stream(s);
    return -1;
  }
  std::snprintf(description, sizeof description, "ALSA (the game's), device '%s': %d bits, %u Hz, %s",
                device_name(), _sound_bits == 8 ? 8 : 16, s.rate, channels == 2 ? "stereo" : "mono");
  driver.desc = description;
  return 0;
}

void driver_exit(int input) {
  if (input) return;
  stop_sound_thread(stream);
  if (stream.pcm) snd_pcm_drop(stream.pcm);
  _mixer_exit();
  close_stream(stream);
}

}  // namespace

// The library makes its list afresh at each start.
void alsa_driver_register() {
  for (_DRIVER_INFO *d = _unix_digi_driver_list; d && d->driver; ++d)
    if (d->id == SOUND_DRIVER_ID) return;
  _unix_register_digi_driver(SOUND_DRIVER_ID, &driver, TRUE, TRUE);
}

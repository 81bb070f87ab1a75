// An emulated sound card: an ALSA external I/O plugin (ioplug) whose
// hardware position advances with CLOCK_MONOTONIC at the stream's rate from
// the moment the stream starts. It underruns as a card does (the position
// reaching the last frame written stops the stream until the program
// prepares it again), and records what it is given:
//   stream  the frames, in the order written (raw, the stream's format);
//   log     one line per event, times in ns on CLOCK_MONOTONIC:
//             params RATE CHANNELS FORMAT PERIOD_FRAMES PERIODS
//             start NS FRAME QUEUED   frame FRAME of the stream leaves at NS,
//                               with QUEUED frames written for it
//             underrun NS FRAME
// Frame j of the stream leaves the buffer at NS + (j - FRAME) / RATE of the
// last start line whose FRAME is at most j.
// Its poll descriptor (a timer) becomes ready as a card's interrupt makes
// it: at the first period boundary at which the room free reaches the
// program's avail_min, or at once while the stream stands with that room.
//
// Loaded through an ALSA configuration:
//   pcm_type.emulated_card { lib "/path/libemulated_card.so" }
//   pcm.!default { type emulated_card stream "/path/stream.raw" log "/path/card.log" }
// With `underrun_after MS` as well, the card runs dry once, MS ms after the
// stream first started, as if its program had woken too late.
#include "platform/sys/monotonic_clock.h"

#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct Card {
  snd_pcm_ioplug_t io{};
  int stream_fd = -1;
  std::FILE *log = nullptr;
  int wake_fd = -1;  // a timer on CLOCK_MONOTONIC, armed for the next readiness
  snd_pcm_uframes_t avail_min = 1;
  long long start_ns = 0;
  long long dry_after = 0;  // ns after the first start: the one underrun asked for
  long long dry_at = 0;     // ns: when it comes (-1 once it came)
  bool running = false;
  bool dry = false;  // run dry: an underrun until the next prepare
  unsigned long long written = 0;       // frames of the whole stream
  unsigned long long segment_base = 0;  // the stream's frame at the last prepare
};

Card *card_of(snd_pcm_ioplug_t *io) { return static_cast<Card *>(io->private_data); }

void note(Card *card, const char *what, long long ns, unsigned long long frame, const char *more = "") {
  std::fprintf(card->log, "%s %lld %llu%s\n", what, ns, frame, more);
  std::fflush(card->log);
}

// Frames played since the start, and those written since the prepare.
unsigned long long played(const Card *card) {
  return static_cast<unsigned long long>((now_ns() - card->start_ns) * card->io.rate / NS_PER_SECOND);
}
unsigned long long queued(const Card *card) { return card->written - card->segment_base; }
unsigned long long in_buffer(const Card *card) {
  if (card->dry) return 0;
  return card->running ? queued(card) - std::min(queued(card), played(card)) : queued(card);
}

// Sets the timer for the moment the program may write again: a period
// boundary of the running stream (or now, when the room is already free or
// the stream has run dry).
void arm(Card *card) {
  snd_pcm_ioplug_t *io = &card->io;
  long long when = 1;  // long past: at once
  unsigned long long room = io->buffer_size - std::min<unsigned long long>(io->buffer_size, in_buffer(card));
  if (room < card->avail_min && !card->dry) {
    if (!card->running) when = 0;  // nothing frees room until the stream starts
    else {
      unsigned long long frame = queued(card) + card->avail_min - io->buffer_size;
      frame = std::min(frame, queued(card));
      unsigned long long boundary = (frame + io->period_size - 1) / io->period_size * io->period_size;
      when = card->start_ns + static_cast<long long>(boundary * static_cast<unsigned long long>(NS_PER_SECOND) / io->rate);
    }
  }
  itimerspec t{};
  t.it_value = {static_cast<time_t>(when / NS_PER_SECOND), static_cast<long>(when % NS_PER_SECOND)};
  timerfd_settime(card->wake_fd, TFD_TIMER_ABSTIME, &t, nullptr);
}

int card_start(snd_pcm_ioplug_t *io) {
  Card *card = card_of(io);
  card->start_ns = now_ns();
  if (card->dry_after > 0 && card->dry_at == 0) card->dry_at = card->start_ns + card->dry_after;
  card->running = true;
  char queued_frames[32];
  std::snprintf(queued_frames, sizeof queued_frames, " %llu", queued(card));
  note(card, "start", card->start_ns, card->segment_base, queued_frames);
  arm(card);
  return 0;
}

int card_stop(snd_pcm_ioplug_t *io) {
  card_of(io)->running = false;
  arm(card_of(io));
  return 0;
}

int card_prepare(snd_pcm_ioplug_t *io) {
  Card *card = card_of(io);
  card->running = false;
  card->dry = false;
  card->segment_base = card->written;
  arm(card);
  return 0;
}

// The position within the buffer; the last frame written reached is an
// underrun.
snd_pcm_sframes_t card_pointer(snd_pcm_ioplug_t *io) {
  Card *card = card_of(io);
  if (!card->running) return 0;
  unsigned long long position = played(card);
  if (card->dry_at > 0 && now_ns() >= card->dry_at) {
    position = queued(card);
    card->dry_at = -1;
  }
  if (position >= queued(card)) {
    card->running = false;
    card->dry = true;
    note(card, "underrun", now_ns(), card->written);
    snd_pcm_ioplug_set_state(io, SND_PCM_STATE_XRUN);
    return -EPIPE;
  }
  return static_cast<snd_pcm_sframes_t>(position % io->buffer_size);
}

snd_pcm_sframes_t card_transfer(snd_pcm_ioplug_t *io, const snd_pcm_channel_area_t *areas,
                                snd_pcm_uframes_t offset, snd_pcm_uframes_t size) {
  Card *card = card_of(io);
  size_t frame_bytes = areas[0].step / 8;
  const char *from = static_cast<const char *>(areas[0].addr) + (areas[0].first + offset * areas[0].step) / 8;
  size_t bytes = size * frame_bytes;
  while (bytes > 0) {
    ssize_t n = write(card->stream_fd, from, bytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -EIO;
    from += n;
    bytes -= static_cast<size_t>(n);
  }
  card->written += size;
  arm(card);
  return static_cast<snd_pcm_sframes_t>(size);
}

int card_hw_params(snd_pcm_ioplug_t *io, snd_pcm_hw_params_t *) {
  Card *card = card_of(io);
  std::fprintf(card->log, "params %u %u %s %lu %lu\n", io->rate, io->channels,
               snd_pcm_format_name(io->format), io->period_size, io->buffer_size / io->period_size);
  std::fflush(card->log);
  return 0;
}

int card_sw_params(snd_pcm_ioplug_t *io, snd_pcm_sw_params_t *params) {
  Card *card = card_of(io);
  snd_pcm_sw_params_get_avail_min(params, &card->avail_min);
  card->avail_min = std::max<snd_pcm_uframes_t>(card->avail_min, 1);
  arm(card);
  return 0;
}

// Ready for writing when avail_min frames of room are free; an error once
// the stream has run dry. While ready, the timer is left as it fired, so
// the descriptor stays ready until the next write arms it anew, as a
// card's does, at no cost to the program beyond the check: the card's own
// work must not weigh on the program's thread more than a card's would.
int card_poll_revents(snd_pcm_ioplug_t *io, struct pollfd *, unsigned int, unsigned short *revents) {
  Card *card = card_of(io);
  bool dry = card_pointer(io) < 0 || card->dry;
  bool ready = !dry && io->buffer_size - in_buffer(card) >= card->avail_min;
  *revents = dry ? POLLERR : ready ? POLLOUT : 0;
  if (ready) return 0;
  unsigned long long expirations;
  while (read(card->wake_fd, &expirations, sizeof expirations) > 0) {
  }
  if (!dry) arm(card);
  return 0;
}

int card_close(snd_pcm_ioplug_t *io) {
  Card *card = card_of(io);
  if (card->stream_fd >= 0) close(card->stream_fd);
  if (card->wake_fd >= 0) close(card->wake_fd);
  if (card->log) std::fclose(card->log);
  delete card;
  return 0;
}

snd_pcm_ioplug_callback_t card_callbacks() {
  snd_pcm_ioplug_callback_t c{};
  c.start = card_start;
  c.stop = card_stop;
  c.pointer = card_pointer;
  c.transfer = card_transfer;
  c.close = card_close;
  c.hw_params = card_hw_params;
  c.prepare = card_prepare;
  c.poll_revents = card_poll_revents;
  c.sw_params = card_sw_params;
  return c;
}
const snd_pcm_ioplug_callback_t callbacks = card_callbacks();

int set_constraints(snd_pcm_ioplug_t *io) {
  static const unsigned int access[] = {SND_PCM_ACCESS_RW_INTERLEAVED};
  static const unsigned int formats[] = {SND_PCM_FORMAT_U8, SND_PCM_FORMAT_S8, SND_PCM_FORMAT_S16_LE,
                                         SND_PCM_FORMAT_U16_LE};
  int err;
  if ((err = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_ACCESS, 1, access)) < 0 ||
      (err = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_FORMAT, 4, formats)) < 0 ||
      (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_CHANNELS, 1, 2)) < 0 ||
      (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_RATE, 8000, 48000)) < 0 ||
      (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, 256 * 1024)) < 0 ||
      (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIODS, 2, 64)) < 0 ||
      (err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_BUFFER_BYTES, 128, 1024 * 1024)) < 0)
    return err;
  return 0;
}

}  // namespace

extern "C" {

SND_PCM_PLUGIN_DEFINE_FUNC(emulated_card) {
  (void)root;
  const char *stream_path = nullptr, *log_path = nullptr;
  long underrun_after = 0;
  snd_config_iterator_t i, next;
  snd_config_for_each(i, next, conf) {
    snd_config_t *entry = snd_config_iterator_entry(i);
    const char *id;
    if (snd_config_get_id(entry, &id) < 0) continue;
    if (!std::strcmp(id, "stream")) snd_config_get_string(entry, &stream_path);
    if (!std::strcmp(id, "log")) snd_config_get_string(entry, &log_path);
    if (!std::strcmp(id, "underrun_after")) snd_config_get_integer(entry, &underrun_after);
  }
  if (!stream_path || !log_path || stream != SND_PCM_STREAM_PLAYBACK) return -EINVAL;

  Card *card = new Card;
  card->dry_after = underrun_after * 1'000'000LL;
  card->stream_fd = open(stream_path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  card->log = std::fopen(log_path, "ae");
  card->wake_fd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
  snd_pcm_ioplug_t *io = &card->io;
  io->private_data = card;
  if (card->stream_fd < 0 || !card->log || card->wake_fd < 0) {
    card_close(io);
    return -EIO;
  }
  io->version = SND_PCM_IOPLUG_VERSION;
  io->name = "Swarmfire's emulated sound card";
  io->flags = SND_PCM_IOPLUG_FLAG_MONOTONIC;
  io->poll_fd = card->wake_fd;
  io->poll_events = POLLIN;
  io->mmap_rw = 0;
  io->callback = &callbacks;
  int err = snd_pcm_ioplug_create(io, name, stream, mode);
  if (err < 0) {
    card_close(io);
    return err;
  }
  if ((err = set_constraints(io)) < 0) {
    snd_pcm_ioplug_delete(io);
    return err;
  }
  *pcmp = io->pcm;
  return 0;
}

SND_PCM_PLUGIN_SYMBOL(emulated_card)
}

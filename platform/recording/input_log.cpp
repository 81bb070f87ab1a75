#include "platform/recording/input_log.h"

#include "platform/platform.h"
#include "platform/recording/recording_reader.h"
#include "platform/recording/recording_writer.h"
#include "platform/shared/printable.h"

#include <allegro.h>

#include <cstdio>


namespace {

using namespace recording;

enum class Mode { Off, Record, Replay };

// The calls of the current segment: how many, their checksum, and where
// the segment's last record stands.
struct Segment {
  uint32_t calls = 0;
  uint16_t sum = 0;
  uint32_t last_record = 0;
  bool records = false;
};

struct InputLog {
  Mode mode = Mode::Off;
  bool answers[YES_NO_QUESTIONS] = {};
  Segment segment;
  long long frames = 0;
  long long waits = 0;  // that ended a segment
  // Recording: the wait the file was last flushed at, and whether a failed
  // write has been told.
  long long flushed_at = 0;
  bool failure_told = false;
  // Replaying: the next record, and how the replay ends.
  Record next;
  bool watched = false;
  long long length = 0;  // the recording's waits
  // Replaying into a recording of its own, until the player takes over.
  bool mirrored = false;
  bool taking_over = false;  // at the end of this segment
  bool stopping = false;  // at the next wait
  bool closed = false;    // by the recorded close button
  ReplayEnd end = ReplayEnd::Complete;
  std::string problem;
};

InputLog input_log;
Writer recording_writer;
Reader replay_reader;
Reader replay_start;  // as it was at the first record, for a rewind
Header mirror_header;  // of the replay's own recording

// Half a second of waits at 60 a second.
constexpr long long FLUSH_EVERY_WAITS = 30;


int question_of(Wait kind) {
  switch (kind) {
    case Wait::Present: return Q_PRESENT;
    case Wait::Yield: return Q_YIELD;
    case Wait::KeyWait: return Q_KEY_WAIT;
    case Wait::FadeIn: return Q_FADE_IN;
    case Wait::FadeOut: return Q_FADE_OUT;
    case Wait::Vsync: return Q_VSYNC;
    case Wait::DatafileLoad: return Q_DATAFILE_LOAD;
  }
  return Q_END;
}

// Calls that always leave a record: their answer or their ticks.
bool always_recorded(int q) {
  return q == Q_PRESENT || q == Q_YIELD || q == Q_KEY_WAIT || q == Q_READKEY || q == Q_END;
}

struct KeyName {
  int scancode;
  const char *name;
};
const KeyName key_names[] = {
    {KEY_ESC, "Esc"},     {KEY_LEFT, "Left"},   {KEY_RIGHT, "Right"}, {KEY_UP, "Up"},
    {KEY_DOWN, "Down"},   {KEY_ALT, "Alt"},     {KEY_SPACE, "Space"}, {KEY_LCONTROL, "Left Ctrl"},
    {KEY_ENTER, "Enter"}, {KEY_F11, "F11"},     {KEY_F12, "F12"},
};

std::string key_name(int scancode) {
  for (const KeyName &k : key_names)
    if (k.scancode == scancode) return k.name;
  if (scancode >= KEY_A && scancode <= KEY_Z) return std::string(1, char('A' + scancode - KEY_A));
  return "with scancode " + std::to_string(scancode);
}

std::string describe(int q) {
  if (q >= 1 && q < KEY_MAX) return "key " + key_name(q);
  switch (q) {
    case Q_BAD_KEY: return "a key out of range";
    case Q_KEYPRESSED: return "whether a key was pressed";
    case Q_FOCUS_LOST: return "the window's focus";
    case Q_READKEY: return "a key from the buffer";
    case Q_CLEAR_KEYBUF: return "the key buffer emptied";
    case Q_FADE_IN: return "a fade in";
    case Q_FADE_OUT: return "a fade out";
    case Q_VSYNC: return "a wait for the retrace";
    case Q_PRESENT: return "a frame";
    case Q_YIELD: return "a wait for time";
    case Q_KEY_WAIT: return "a wait for a key";
    case Q_DATAFILE_LOAD: return "a datafile load";
    default: return "the end of the recording";
  }
}

int named_by(const Record &r) {
  switch (r.type) {
    case Record::Change: return r.question;
    case Record::ReadKey: return Q_READKEY;
    case Record::End: return question_of(r.end.wait);
    default: return Q_END;
  }
}

void stop(ReplayEnd end, const std::string &problem = {}) {
  if (!input_log.stopping) {
    input_log.stopping = true;
    input_log.end = end;
    input_log.problem = problem;
  }
}

void count_call(int q) {
  ++input_log.segment.calls;
  input_log.segment.sum = add_to_sum(input_log.segment.sum, q);
}

void consume() { input_log.next = next_record(replay_reader); }

// Empty when the game, asking `asked` as the next call of its segment, is
// in step with the next record: a record standing at this call must name
// it, and a call that always leaves a record must find it here. Else how it
// is out of step; the message is made only then, as this runs at every key
// poll.
std::string step_problem(const Record &n, int asked) {
  const Segment &s = input_log.segment;
  int named = named_by(n);
  auto game = [asked] { return asked == Q_END ? std::string("the game ended") : "the game asked for " + describe(asked); };
  if (n.at == s.calls) {
    if (named != asked) return game() + " where the recording has " + describe(named);
    uint16_t sum = n.type == Record::AtTrailer ? replay_reader.trailer.tail_sum : n.end.sum;
    if ((n.type == Record::End || n.type == Record::AtTrailer) && sum != s.sum)
      return game() + " after " + std::to_string(s.calls) + " inputs, as recorded, but they were not the recorded ones";
    return {};
  }
  if (always_recorded(asked))
    return game() + " after " + std::to_string(s.calls) + " inputs where the recording has " + describe(named) +
           " after " + std::to_string(n.at);
  return {};
}

// Whether the replay goes on with this call; else it stops, at a damaged or
// cut-off record or out of step.
bool in_step(int asked) {
  if (input_log.stopping) return false;
  const Record &n = input_log.next;
  if (n.type == Record::CutShort) {
    stop(ReplayEnd::CutShort);
    return false;
  }
  if (n.type == Record::Damaged) {
    stop(ReplayEnd::Damaged, replay_reader.damage);
    return false;
  }
  std::string problem = step_problem(n, asked);
  if (problem.empty()) return true;
  stop(ReplayEnd::OutOfStep, problem);
  return false;
}

// The recorded game was stopped here: so is the replay, in step to its end.
[[noreturn]] void stop_at_recorded_close() {
  consume();
  input_log.segment = Segment{};
  input_log.closed = input_log.stopping = true;
  throw QuitRequested{};
}

void end_segment(Wait kind) {
  input_log.segment = Segment{};
  ++input_log.waits;
  if (kind == Wait::Present) ++input_log.frames;
}

// Records go at their call, counted from the segment's last record.
uint32_t delta_here() {
  const Segment &s = input_log.segment;
  return s.records ? s.calls - s.last_record : s.calls;
}

void note_record() {
  input_log.segment.last_record = input_log.segment.calls;
  input_log.segment.records = true;
}

// A write that failed is told at once, while the game goes on unrecorded:
// the bytes after it are lost, so the recording cannot resume.
void tell_failed_write() {
  if (recording_writer.problem.empty() || input_log.failure_told) return;
  input_log.failure_told = true;
  std::fprintf(stderr, "swarmfire: %s: the recording stops here (%s); the game goes on unrecorded\n",
               printable(recording_writer.path).c_str(), recording_writer.problem.c_str());
}

void start(Mode mode) {
  input_log_off();
  input_log = InputLog{};
  input_log.mode = mode;
}

// The file is flushed every half second of waits.
void flush_now_and_then() {
  if (input_log.waits - input_log.flushed_at >= FLUSH_EVERY_WAITS) {
    flush_writer(recording_writer);
    input_log.flushed_at = input_log.waits;
  }
  tell_failed_write();
}

// The waits of the whole recording, read ahead from a copy of the reader
// (which shares the file's bytes): a repeat counts as its segments without
// being walked through, so the count takes a time in step with the file's
// size, never with the play it stands for.
long long waits_recorded() {
  Reader ahead = replay_start;
  long long waits = 0;
  for (Record r = next_record(ahead); r.type == Record::Change || r.type == Record::ReadKey || r.type == Record::End;
       r = next_record(ahead))
    if (r.type == Record::End) waits += 1 + skip_repeats(ahead);
  return waits;
}

// The reader at its first record, kept for a rewind.
void first_record() {
  replay_start = replay_reader;
  consume();
  input_log.length = waits_recorded();
}

void mirror_change(int question) {
  if (!input_log.mirrored) return;
  write_change(recording_writer, delta_here(), question);
  note_record();
}

void mirror_readkey(int value) {
  if (!input_log.mirrored) return;
  write_readkey(recording_writer, delta_here(), value);
  note_record();
}

void mirror_end(Wait kind, int ticks) {
  if (!input_log.mirrored) return;
  write_end(recording_writer, SegmentEnd{kind, false, ticks, input_log.segment.calls, input_log.segment.sum},
            input_log.segment.records);
  flush_now_and_then();
}

// From the end of this segment on, the live inputs, recorded on.
void hand_over_if_asked() {
  if (!input_log.taking_over) return;
  input_log.mode = Mode::Record;
  input_log.taking_over = input_log.mirrored = false;
  replay_reader = Reader{};
}

}  // namespace

// --- The program entry -------------------------------------------------------

std::string input_log_record(const std::string &path, const Header &header) {
  start(Mode::Record);
  std::string problem = open_writer(recording_writer, path, header);
  if (!problem.empty()) {
    close_writer(recording_writer, nullptr);
    input_log.mode = Mode::Off;
    return problem;
  }
  input_log.flushed_at = input_log.waits;
  return {};
}

std::string input_log_finish_recording(const Totals *totals) {
  if (input_log.mode != Mode::Record) return {};
  Trailer trailer;
  trailer.tail_calls = input_log.segment.calls;
  trailer.tail_sum = input_log.segment.sum;
  if (totals) trailer.totals = *totals;
  // A run that stopped before its first frame keeps nothing.
  std::string problem = close_writer(recording_writer, totals ? &trailer : nullptr, totals || input_log.frames > 0);
  input_log.mode = Mode::Off;
  return problem;
}

namespace {

// The replay from its reader's first record, or off again when the file
// was refused.
std::string begin_replay(const std::string &problem, bool watched) {
  if (!problem.empty()) {
    input_log.mode = Mode::Off;
    return problem;
  }
  input_log.watched = watched;
  first_record();
  return {};
}

}  // namespace

std::string input_log_replay(const std::string &path, Header &header, bool watched) {
  start(Mode::Replay);
  return begin_replay(open_reader(replay_reader, path, header), watched);
}

std::string input_log_replay_bytes(std::vector<uint8_t> bytes, Header &header) {
  start(Mode::Replay);
  return begin_replay(read_recording(replay_reader, std::move(bytes), header), false);
}

ReplayOutcome input_log_finish_replay() {
  ReplayOutcome outcome;
  if (input_log.mode != Mode::Replay) return outcome;
  // The game ended by itself or at the recorded close: the trailer must
  // follow, after the calls the game made on its way out.
  if (input_log.end == ReplayEnd::Complete) {
    input_log.stopping = false;
    if (in_step(Q_END)) outcome.recorded = replay_reader.trailer.totals;
  }
  outcome.end = input_log.end;
  outcome.problem = input_log.problem;
  outcome.frames = input_log.frames;
  outcome.waits = input_log.waits;
  // Not taken over: its recording is not kept.
  if (input_log.mirrored) close_writer(recording_writer, nullptr, false);
  replay_reader = replay_start = Reader{};
  input_log.mode = Mode::Off;
  return outcome;
}

void input_log_off() {
  if (input_log.mode == Mode::Record || input_log.mirrored)
    close_writer(recording_writer, nullptr, input_log.mode == Mode::Record && input_log.frames > 0);
  replay_reader = replay_start = Reader{};
  input_log.mode = Mode::Off;
}

long long input_log_frames() { return input_log.frames; }
long long input_log_waits() { return input_log.waits; }
long long input_log_length() { return input_log.length; }

namespace {

constexpr int MOST_WAITS_AHEAD = 3600;

// A copy of the reader at the same record (sharing the file's bytes) for
// `read` to read ahead with.
template <class Read>
int read_ahead(Read &&read) {
  Reader ahead = replay_reader;
  return read(ahead);
}

}  // namespace

int input_log_waits_to_next_frame(std::initializer_list<int> questions) {
  if (input_log.mode != Mode::Replay || input_log.stopping || input_log.taking_over) return -1;
  for (int q : questions)
    if (input_log.answers[q]) return -1;
  return read_ahead([&](Reader &ahead) {
    int waits = 0, presents = 0;
    for (Record r = input_log.next; waits < MOST_WAITS_AHEAD; r = next_record(ahead)) {
      if (r.type == Record::Change) {
        for (int q : questions)
          if (r.question == q) return -1;
      } else if (r.type == Record::End) {
        if (r.end.close || (presents == 0 && r.end.wait != Wait::Present)) return -1;
        waits += ticking(r.end.wait);
        if (r.end.wait == Wait::Present && ++presents == 2) return waits;
      } else if (r.type != Record::ReadKey) {
        return -1;
      }
    }
    return -1;
  });
}

// --- The seam ----------------------------------------------------------------

bool input_log_replaying() { return input_log.mode == Mode::Replay; }
bool input_log_watched() { return input_log.mode == Mode::Replay && input_log.watched; }

void input_log_live_answer(int question, bool live) {
  if (input_log.mode != Mode::Record) return;
  if (input_log.answers[question] != live) {
    write_change(recording_writer, delta_here(), question);
    input_log.answers[question] = live;
    note_record();
  }
  count_call(question);
}

bool input_log_replayed_answer(int question) {
  if (!in_step(question)) return false;
  if (input_log.next.type == Record::Change && input_log.next.at == input_log.segment.calls) {
    input_log.answers[question] = !input_log.answers[question];
    consume();
    mirror_change(question);
  }
  count_call(question);
  return input_log.answers[question];
}

void input_log_live_readkey(int value) {
  if (input_log.mode != Mode::Record) return;
  write_readkey(recording_writer, delta_here(), value);
  note_record();
  count_call(Q_READKEY);
}

int input_log_replayed_readkey() {
  if (!in_step(Q_READKEY)) return 0;
  int value = input_log.next.value;
  consume();
  mirror_readkey(value);
  count_call(Q_READKEY);
  return value;
}

void input_log_call(int question) {
  if (input_log.mode == Mode::Off) return;
  if (input_log.mode == Mode::Replay && !in_step(question)) return;
  count_call(question);
}

void input_log_before_wait(Wait kind, bool stopped) {
  if (input_log.mode != Mode::Replay) return;
  if (stopped) stop(ReplayEnd::Stopped);
  if (!in_step(question_of(kind))) throw QuitRequested{};
  const Record &n = input_log.next;
  if (n.type == Record::End && n.at == input_log.segment.calls && n.end.close) stop_at_recorded_close();
}

void input_log_loading_datafile() {
  if (input_log.mode != Mode::Replay || input_log.stopping) return;
  const Record &n = input_log.next;
  bool stopped_here = n.type == Record::End && n.at == input_log.segment.calls && n.end.close &&
                      n.end.wait == Wait::DatafileLoad;
  if (!stopped_here) return;
  if (!in_step(Q_DATAFILE_LOAD)) throw QuitRequested{};
  stop_at_recorded_close();
}

int input_log_ticks(Wait kind, int passed) {
  if (passed > MOST_TICKS_PER_WAIT) passed = MOST_TICKS_PER_WAIT;
  if (passed < 0) passed = 0;
  switch (input_log.mode) {
    case Mode::Off: return passed;
    case Mode::Record: {
      SegmentEnd end{kind, false, passed, input_log.segment.calls, input_log.segment.sum};
      write_end(recording_writer, end, input_log.segment.records);
      end_segment(kind);
      flush_now_and_then();
      return passed;
    }
    case Mode::Replay: {
      if (!in_step(question_of(kind))) return 0;
      int ticks = input_log.next.end.ticks;
      consume();
      mirror_end(kind, ticks);
      end_segment(kind);
      hand_over_if_asked();
      return ticks;
    }
  }
  return passed;
}

void input_log_closed(Wait kind) {
  if (input_log.mode == Mode::Replay) {
    stop(ReplayEnd::Stopped);
    return;
  }
  if (input_log.mode != Mode::Record) return;
  SegmentEnd end{kind, true, 0, input_log.segment.calls, input_log.segment.sum};
  write_end(recording_writer, end, input_log.segment.records);
  input_log.segment = Segment{};
  flush_writer(recording_writer);
  tell_failed_write();
}

// --- Places kept ------------------------------------------------------------

namespace {

struct Place {
  InputLog log;
  Reader reader;  // without its bytes
};
Place places[REPLAY_PLACES];

}  // namespace

bool input_log_keeps_places() {
  return input_log.mode == Mode::Replay && input_log.watched && !input_log.mirrored && !input_log.taking_over;
}

void input_log_keep_place(int slot) {
  Place &p = places[slot];
  p.log = input_log;
  auto bytes = std::move(replay_reader.bytes);
  p.reader = replay_reader;
  replay_reader.bytes = std::move(bytes);
}

void input_log_go_to_place(int slot) {
  const Place &p = places[slot];
  input_log = p.log;
  auto bytes = std::move(replay_reader.bytes);
  replay_reader = p.reader;
  replay_reader.bytes = std::move(bytes);
}

// --- Watching and taking over --------------------------------------------------

std::string input_log_record_replay(const std::string &path, const Header &header) {
  if (input_log.mode != Mode::Replay) return {};
  std::string problem = open_writer(recording_writer, path, header);
  if (!problem.empty()) {
    close_writer(recording_writer, nullptr, false);
    return problem;
  }
  input_log.mirrored = true;
  input_log.flushed_at = input_log.waits;
  mirror_header = header;
  return {};
}

bool input_log_take_over() {
  if (input_log.mode == Mode::Replay && input_log.mirrored) input_log.taking_over = true;
  return input_log.taking_over;
}

bool input_log_taken_over() { return input_log.mode == Mode::Record && input_log.watched; }

std::string input_log_rewind() {
  if (input_log.mode != Mode::Replay) return {};
  InputLog fresh;
  fresh.mode = Mode::Replay;
  fresh.watched = input_log.watched;
  fresh.length = input_log.length;
  fresh.mirrored = input_log.mirrored;
  input_log = fresh;
  replay_reader = replay_start;
  consume();
  if (!input_log.mirrored) return {};
  input_log.mirrored = false;
  // The recording of the replay starts again with it.
  std::string path = recording_writer.path;
  close_writer(recording_writer, nullptr, false);
  return input_log_record_replay(path, mirror_header);
}

// The input log: every input the platform seam hands to the game, in the
// order the game asks for it, recorded into a file as it is given, or
// replayed from one instead of the live keyboard, clock and window. Off,
// the seam's answers are the live ones and nothing is kept.
//
// A replay checks at every call that the game asks what was asked when the
// file was recorded (the same key, the same kind of call, the same number
// of calls before each wait), so a replay that falls out of step stops at
// once. It runs no longer than its file allows: at most 32 waits
// for every byte.
#pragma once

#include "platform/recording/recording_format.h"

#include <initializer_list>
#include <string>
#include <vector>

// --- For the program entry ---------------------------------------------------

// Starts recording: writes the header into a file that takes the place of
// `path` when the recording ends whole (recording_writer.h's open_writer).
// Empty, or why the file cannot be written or replaced. A write that fails
// later is told on stderr at once, and the game goes on unrecorded.
std::string input_log_record(const std::string &path, const recording::Header &header);
// Ends the recording: the trailer with the totals of a clean exit, or none
// (nullptr) after a failure; then the file takes its place, unless the run
// failed before its first frame. Empty, or the write that failed (the file
// at `path` then stays as it was).
std::string input_log_finish_recording(const recording::Totals *totals);

// Starts a replay of the file: reads it whole and its header. Empty, or why
// it cannot be replayed. A `watched` replay (--play) answers to the
// viewer's keys (platform/recording/viewer.h).
std::string input_log_replay(const std::string &path, recording::Header &header, bool watched);
// The same from bytes in memory.
std::string input_log_replay_bytes(std::vector<uint8_t> bytes, recording::Header &header);

enum class ReplayEnd {
  Complete,   // to the trailer, the game in step all the way
  Stopped,    // by the viewer (Esc or the close button)
  CutShort,   // the file ends without a trailer
  OutOfStep,  // the game asked for another input than the one recorded
  Damaged,    // bytes that are no record
};

struct ReplayOutcome {
  ReplayEnd end = ReplayEnd::Complete;
  std::string problem;         // for OutOfStep and Damaged
  long long frames = 0;        // frames replayed
  long long waits = 0;         // waits replayed (60 a second)
  recording::Totals recorded;  // the trailer's, when Complete
};

// After the run: how the replay ended. The log is off again.
ReplayOutcome input_log_finish_replay();

// Back to live input, a recording closed without its trailer.
void input_log_off();

// Frames presented since the log was started.
long long input_log_frames();
// Waits that fired the logic timer since the log was started: the game's
// clock, 60 a second.
long long input_log_waits();
// Those of the whole recording replayed (as far as it can be read).
long long input_log_length();

// Read ahead in a replay, from a frame about to be presented: the ticking
// waits up to and including the present of the frame after it, or -1 when
// the picture of this one may be looked at before that frame: the
// recording asks one of `questions` held or changed in between (the keys
// that pause or take a screenshot), ends, closes the window, or holds no
// next frame within a minute.
int input_log_waits_to_next_frame(std::initializer_list<int> questions);

// --- For watching a replay and taking over from it ----------------------------

// While replaying, every input replayed goes into a recording of its own
// too, which takes the place of `path` only if the player takes over.
// Empty, or why it cannot be written.
std::string input_log_record_replay(const std::string &path, const recording::Header &header);
// At the end of the current segment the replay stops and the live inputs
// take over, recorded on into that recording; false when there is none.
bool input_log_take_over();
bool input_log_taken_over();
// The replay from its first record again, and its recording from its
// header; empty, or why the recording cannot be written again.
std::string input_log_rewind();

// --- Places of a watched replay kept for seeks back ---------------------------

// How many places can be kept, each in a slot of its own.
constexpr int REPLAY_PLACES = 48;
// Whether places can be kept and gone back to: a watched replay, its
// inputs copied into no recording of its own (a take-over's mirror would
// have to be written again from the start).
bool input_log_keeps_places();
// The replay's whole position (its reader, the segment, the answers, the
// clock) into a slot, and back from it; no file is copied.
void input_log_keep_place(int slot);
void input_log_go_to_place(int slot);

// --- For the seam (platform/seam.cpp) ----------------------------------------

bool input_log_replaying();
// A replay watched in the window (--play), not yet taken over.
bool input_log_watched();
// Record: a live yes-or-no answer; replay: the recorded one.
void input_log_live_answer(int question, bool live);
bool input_log_replayed_answer(int question);
void input_log_live_readkey(int value);
int input_log_replayed_readkey();
// A call without an answer (emptying the key buffer, a fade, a retrace).
void input_log_call(int question);
// At the start of every wait: a replay stops here (QuitRequested) when
// the recording closed the window here, ended or fell out of step, or the
// viewer stopped it (`stopped`: Esc).
void input_log_before_wait(Wait kind, bool stopped = false);
// Where a wait fires the logic timer: the ticks to fire (the live ones,
// recorded; or the recorded ones).
int input_log_ticks(Wait kind, int passed);
// The close button stopped the game at this wait (live), or a datafile
// refused at its load (Wait::DatafileLoad).
void input_log_closed(Wait kind);
// Before a datafile is loaded: a replay stops here (QuitRequested) where
// the recorded game was stopped by the datafile refused.
void input_log_loading_datafile();

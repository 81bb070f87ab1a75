#include "platform/recording/recording_reader.h"

#include "platform/platform.h"
#include "platform/shared/fnv1a.h"
#include "platform/shared/whole_file.h"

#include <cstring>

namespace recording {

namespace {

// Over 200 days of play: more is no recording, and would overflow the
// game's tick counter.
constexpr uint64_t MOST_TICKS = 1ull << 30;
// No segment of the game makes this many calls between two waits.
constexpr uint64_t MOST_CALLS = 1u << 24;


struct Cursor {
  const std::vector<uint8_t> &bytes;
  size_t at, end;
  bool ok = true;

  uint8_t byte() {
    if (at >= end) {
      ok = false;
      return 0;
    }
    return bytes[at++];
  }
  uint64_t le(int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= uint64_t(byte()) << (8 * i);
    return v;
  }
  // LEB128, at most five bytes and 32 bits; `too_long` set (and left set)
  // when it runs over.
  uint32_t varint(bool &too_long) {
    uint64_t v = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      uint8_t b = byte();
      v |= uint64_t(b & 0x7f) << shift;
      if (!(b & 0x80)) {
        if (v > 0xffffffffull) too_long = true;
        return static_cast<uint32_t>(v);
      }
    }
    too_long = true;
    return 0;
  }
};

bool valid_question(int q) { return (q >= 1 && q < 127) || q == Q_KEYPRESSED || q == Q_FOCUS_LOST; }

Record bare(Record::Type type) {
  Record rec;
  rec.type = type;
  return rec;
}

Record damaged(Reader &r, size_t where, const std::string &why) {
  r.damage = "damaged at byte " + std::to_string(where) + ": " + why;
  r.at = r.records_end;
  r.repeats_left = 0;
  return bare(Record::Damaged);
}

Record cut_short(Reader &r) {
  r.at = r.records_end;
  return bare(Record::CutShort);
}

// A segment end as the format allows it: ticks only at the waits that fire
// them, a close before any tick, the other waits only with a close.
bool valid_end(const SegmentEnd &e) {
  if (e.ticks > MOST_TICKS_PER_WAIT) return false;
  if (e.close) return e.ticks == 0;
  return ticking(e.wait);
}

// The first call of the segment that no record stands at yet.
uint64_t first_free_call(const Reader &r) { return r.segment_records ? uint64_t(r.segment_at) + 1 : 0; }

// A segment's end at its call; the next segment starts afresh.
Record segment_end(Reader &r, size_t where, const SegmentEnd &end) {
  if (end.calls < first_free_call(r) || end.calls > MOST_CALLS)
    return damaged(r, where, "a wait before the calls of its segment");
  r.ticks += static_cast<uint64_t>(end.ticks);
  if (r.ticks > MOST_TICKS) return damaged(r, where, "more ticks than 200 days of play");
  r.previous = end;
  r.closed = end.close;
  r.segment_at = 0;
  r.segment_records = false;
  Record rec;
  rec.type = Record::End;
  rec.at = end.calls;
  rec.end = end;
  return rec;
}

}  // namespace

std::string open_reader(Reader &r, const std::string &path, Header &header) {
  r = Reader{};
  WholeFile file = read_whole_file(path);
  if (file.failure == ReadFailure::TooLarge) return "is not a recording (" + file.why() + ")";
  if (file.failure != ReadFailure::None) return "cannot be read: " + file.why();
  return read_recording(r, std::move(file.bytes), header);
}

std::string read_recording(Reader &r, std::vector<uint8_t> bytes, Header &header) {
  r = Reader{};
  r.bytes = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
  const std::vector<uint8_t> &b = *r.bytes;
  if (b.size() < sizeof MAGIC || std::memcmp(b.data(), MAGIC, sizeof MAGIC) != 0)
    return "is not a Swarmfire recording";
  Cursor c{b, sizeof MAGIC, b.size()};
  int version = static_cast<int>(c.le(2));
  if (!c.ok) return "is cut short in its header";
  if (version != FORMAT_VERSION)
    return "is a recording of format version " + std::to_string(version) + "; this game reads version " +
           std::to_string(FORMAT_VERSION);
  size_t n = c.byte();
  header.game_version.clear();
  for (size_t i = 0; i < n && c.ok; ++i) header.game_version += static_cast<char>(c.byte());
  header.data_digest = c.le(8);
  header.scale = c.byte();
  int fullscreen = c.byte();
  if (!c.ok) return "is cut short in its header";
  if (n > MOST_VERSION_BYTES || header.scale > MAX_WINDOW_SCALE || fullscreen > 1) return "is damaged in its header";
  header.fullscreen = fullscreen == 1;
  r.at = c.at;
  r.records_end = b.size();
  // A trailer stands at the very end, and its checksum covers all before it.
  size_t size = b.size();
  if (size >= r.at + TRAILER_BYTES && std::memcmp(&b[size - 4], END_MAGIC, 4) == 0 &&
      b[size - TRAILER_BYTES] == TRAILER) {
    Cursor t{b, size - TRAILER_BYTES + 1, size};
    r.trailer.tail_calls = static_cast<uint32_t>(t.le(4));
    r.trailer.tail_sum = static_cast<uint16_t>(t.le(2));
    Totals &totals = r.trailer.totals;
    totals.frames = t.le(8);
    totals.steps = t.le(8);
    totals.score = static_cast<int32_t>(t.le(4));
    totals.level = static_cast<int32_t>(t.le(4));
    totals.world_hash = t.le(8);
    uint64_t sum = t.le(8);
    if (sum != fnv1a(b.data(), size - CHECKSUM_AT_END)) return "is damaged: its checksum does not match";
    r.has_trailer = true;
    r.records_end = size - TRAILER_BYTES;
  }
  return {};
}

namespace {

// A record's bytes as read, before they are checked against where they stand.
struct Parsed {
  Record rec;
  uint32_t delta = 0;        // calls after the segment's last record (a change, a key)
  int repeats = 0;           // segments a repeat stands for beyond its first
  bool too_long = false;     // a number past 32 bits
  bool cut_trailer = false;  // a trailer cut off while it was written
  std::string damage;        // a tag or a field no record has
};

// Parse: the record at the cursor, field by field, the cursor left after it
// (not ok when the bytes ran out).
Parsed parse_record(const Reader &r, Cursor &c) {
  Parsed p;
  Record &rec = p.rec;
  size_t start = c.at;
  uint8_t tag = c.byte();
  if (r.closed && tag != TRAILER) {
    p.damage = "records after the close";
    return p;
  }
  switch (tag) {
    case CHANGE:
      rec.type = Record::Change;
      p.delta = c.varint(p.too_long);
      rec.question = c.byte();
      break;
    case READKEY:
      rec.type = Record::ReadKey;
      rec.question = Q_READKEY;
      p.delta = c.varint(p.too_long);
      rec.value = static_cast<int32_t>(c.varint(p.too_long));
      break;
    case END: {
      uint8_t kind = c.byte();
      rec.type = Record::End;
      rec.end.wait = static_cast<Wait>(kind & 0x7f);
      rec.end.close = kind & 0x80;
      uint32_t ticks = c.varint(p.too_long);
      rec.end.ticks = static_cast<int>(std::min<uint32_t>(ticks, MOST_TICKS_PER_WAIT + 1));
      rec.end.calls = c.varint(p.too_long);
      rec.end.sum = static_cast<uint16_t>(c.le(2));
      if (c.ok && !p.too_long && ((kind & 0x7f) >= WAIT_KINDS || !valid_end(rec.end)))
        p.damage = "no such wait, or ticks it cannot fire";
      break;
    }
    case SAME:
      rec.type = Record::End;
      rec.end = r.previous;
      break;
    case REPEAT: {
      int n = c.byte();
      if (c.ok && (n < 1 || n > MOST_REPEATS)) p.damage = "a repeat of " + std::to_string(n) + " segments";
      rec.type = Record::End;
      rec.end = r.previous;
      p.repeats = c.ok ? n - 1 : 0;
      break;
    }
    case TRAILER:
      // A trailer not at the end of the file: cut off while it was written.
      if (r.records_end - start < TRAILER_BYTES)
        p.cut_trailer = true;
      else
        p.damage = "a trailer before the end of the file";
      break;
    default: p.damage = "no record starts with " + std::to_string(tag);
  }
  return p;
}

// Check: why a record read so far is damaged; empty when it is sound, or
// cut off by the end of the file (the process was stopped while it wrote),
// which before a trailer it cannot be.
std::string record_problem(const Reader &r, const Parsed &p, bool whole) {
  if (!p.damage.empty()) return p.damage;
  if (!whole) return r.has_trailer ? "a record runs into the trailer" : "";
  if (p.too_long) return "a number longer than 32 bits";
  if (p.rec.type == Record::Change && !valid_question(p.rec.question))
    return "no key or question " + std::to_string(p.rec.question);
  return {};
}

// Advance: a sound record put at its call of the segment, or the segment
// ended.
Record place_record(Reader &r, size_t start, const Parsed &p) {
  if (p.rec.type == Record::End) {
    r.repeats_left = p.repeats;
    return segment_end(r, start, p.rec.end);
  }
  uint64_t at = uint64_t(r.segment_at) + p.delta;
  if (at < first_free_call(r) || at > MOST_CALLS) return damaged(r, start, "two records at one call");
  Record rec = p.rec;
  rec.at = r.segment_at = static_cast<uint32_t>(at);
  r.segment_records = true;
  return rec;
}

// At the records' end: the trailer at its call, or a recording cut short.
Record trailer_record(Reader &r) {
  if (!r.has_trailer) return bare(Record::CutShort);
  if (r.trailer.tail_calls < first_free_call(r))
    return damaged(r, r.records_end, "the trailer stands before the last record");
  Record t;
  t.type = Record::AtTrailer;
  t.at = r.trailer.tail_calls;
  return t;
}

}  // namespace

Record next_record(Reader &r) {
  if (!r.damage.empty()) return bare(Record::Damaged);
  if (r.repeats_left > 0) {
    --r.repeats_left;
    return segment_end(r, r.at, r.previous);
  }
  if (r.at >= r.records_end) return trailer_record(r);
  size_t start = r.at;
  Cursor c{*r.bytes, r.at, r.records_end};
  Parsed p = parse_record(r, c);
  if (p.cut_trailer) return cut_short(r);
  std::string problem = record_problem(r, p, c.ok);
  if (!problem.empty()) return damaged(r, start, problem);
  if (!c.ok) return cut_short(r);
  r.at = c.at;
  return place_record(r, start, p);
}

int skip_repeats(Reader &r) {
  int n = r.repeats_left;
  if (n == 0 || !r.damage.empty()) return 0;
  r.repeats_left = 0;
  r.ticks += uint64_t(n) * static_cast<uint64_t>(r.previous.ticks);
  if (r.ticks > MOST_TICKS) {
    damaged(r, r.at, "more ticks than 200 days of play");
    return 0;
  }
  return n;
}

}  // namespace recording

#include "platform/recording/recording_writer.h"

#include "platform/shared/files.h"
#include "platform/shared/fnv1a.h"
#include "platform/shared/printable.h"
#include "platform/shared/whole_file.h"

#include <cerrno>
#include <cstring>

namespace recording {

namespace {

// The file's buffer: written out when full and when the input log flushes.
constexpr size_t BUFFER_BYTES = 1 << 14;


// Into the file's buffer; the first write that fails is kept, and nothing
// is written after it.
void put(Writer &w, uint8_t byte) {
  if (w.file && w.problem.empty() && std::fputc(byte, w.file.get()) == EOF) w.problem = std::strerror(errno);
  w.checksum = fnv1a(&byte, 1, w.checksum);
}

void put_le(Writer &w, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) put(w, static_cast<uint8_t>(value >> (8 * i)));
}

void put_varint(Writer &w, uint32_t value) {
  while (value >= 0x80) {
    put(w, static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  put(w, static_cast<uint8_t>(value));
}

void put_pending_repeats(Writer &w) {
  if (w.pending_repeats == 0) return;
  put(w, REPEAT);
  put(w, static_cast<uint8_t>(w.pending_repeats));
  w.pending_repeats = 0;
}

// The recording grows beside its target, under a name of its own
// (FILE.PID.part), until it is put in place whole. A name near the folder's
// limit on a name's length is cut short, at a character's start, to fit.
std::string part_name(const std::string &path) {
  std::string suffix = "." + std::to_string(process_number()) + ".part";
  size_t name_at = path.find_last_of(FOLDER_SEPARATORS) + 1;  // 0 without a folder
  std::string folder = name_at == 0 ? "." : path.substr(0, name_at);
  size_t fits = longest_file_name(folder) - suffix.size();
  std::string name = path.substr(name_at);
  if (name.size() > fits) {
    name.resize(fits);
    while (!name.empty() && (uint8_t(name.back()) & 0xc0) == 0x80) name.pop_back();
    if (!name.empty() && uint8_t(name.back()) >= 0xc0) name.pop_back();
  }
  return path.substr(0, name_at) + name + suffix;
}

}  // namespace

std::string replace_problem(const std::string &path) {
  FileKind kind = file_kind(path);
  if (kind == FileKind::None) return {};  // none: creating it will tell
  if (kind != FileKind::Regular) return "is not a regular file; it is left as it is";
  const char *not_ours = "exists and is not a Swarmfire recording; it is left as it is";
  WholeFile file = read_whole_file(path);
  if (file.failure == ReadFailure::TooLarge) return not_ours;
  if (file.failure != ReadFailure::None) return "cannot be read: " + file.why();
  const std::vector<uint8_t> &b = file.bytes;
  if (b.empty() || (b.size() >= sizeof MAGIC && std::memcmp(b.data(), MAGIC, sizeof MAGIC) == 0)) return {};
  return not_ours;
}

std::string open_writer(Writer &w, const std::string &path, const Header &header) {
  // A recording still open is given up, its part file with it.
  close_writer(w, nullptr, false);
  w = Writer{};
  w.checksum = FNV1A_BASIS;
  std::string problem = replace_problem(path);
  if (!problem.empty()) return problem;
  // The part file's name always fits; the recording's own must too, or the
  // game would be recorded and then lost at the end.
  if (!file_name_fits(path))
    return std::string("cannot be created: ") + std::strerror(ENAMETOOLONG);
  w.path = path;
  w.part = part_name(path);
  w.file.reset(create_new_file(w.part));
  if (!w.file) return std::string("cannot be created: ") + std::strerror(errno);
  setvbuf(w.file.get(), nullptr, _IOFBF, BUFFER_BYTES);
  for (uint8_t b : MAGIC) put(w, b);
  put_le(w, FORMAT_VERSION, 2);
  size_t n = std::min(header.game_version.size(), MOST_VERSION_BYTES);
  put(w, static_cast<uint8_t>(n));
  for (size_t i = 0; i < n; ++i) put(w, static_cast<uint8_t>(header.game_version[i]));
  put_le(w, header.data_digest, 8);
  put(w, static_cast<uint8_t>(header.scale));
  put(w, header.fullscreen ? 1 : 0);
  flush_writer(w);
  if (!w.problem.empty()) return "cannot be written: " + w.problem;
  return {};
}

void write_change(Writer &w, uint32_t delta, int question) {
  put_pending_repeats(w);
  put(w, CHANGE);
  put_varint(w, delta);
  put(w, static_cast<uint8_t>(question));
}

void write_readkey(Writer &w, uint32_t delta, int value) {
  put_pending_repeats(w);
  put(w, READKEY);
  put_varint(w, delta);
  put_varint(w, static_cast<uint32_t>(value));
}

void write_end(Writer &w, const SegmentEnd &end, bool changes) {
  if (end == w.previous && !end.close) {
    if (changes) {
      put(w, SAME);
    } else if (++w.pending_repeats == MOST_REPEATS) {
      put_pending_repeats(w);
    }
    return;
  }
  put_pending_repeats(w);
  put(w, END);
  put(w, static_cast<uint8_t>(static_cast<int>(end.wait) | (end.close ? 0x80 : 0)));
  put_varint(w, static_cast<uint32_t>(end.ticks));
  put_varint(w, end.calls);
  put_le(w, end.sum, 2);
  w.previous = end;
}

void flush_writer(Writer &w) {
  if (!w.file) return;
  put_pending_repeats(w);
  if (w.problem.empty() && std::fflush(w.file.get()) != 0) w.problem = std::strerror(errno);
}

std::string close_writer(Writer &w, const Trailer *trailer, bool keep) {
  if (!w.file) return w.problem;
  put_pending_repeats(w);
  if (trailer) {
    put(w, TRAILER);
    put_le(w, trailer->tail_calls, 4);
    put_le(w, trailer->tail_sum, 2);
    const Totals &t = trailer->totals;
    put_le(w, t.frames, 8);
    put_le(w, t.steps, 8);
    put_le(w, static_cast<uint32_t>(t.score), 4);
    put_le(w, static_cast<uint32_t>(t.level), 4);
    put_le(w, t.world_hash, 8);
    uint64_t sum = w.checksum;
    put_le(w, sum, 8);
    for (uint8_t b : END_MAGIC) put(w, b);
  }
  flush_writer(w);
  if (int error = sync_file(w.file.get()); w.problem.empty() && error) w.problem = std::strerror(error);
  if (std::fclose(w.file.release()) != 0 && w.problem.empty()) w.problem = std::strerror(errno);
  // Whole, it takes the place of the target; else the target stays as it was.
  if (!w.problem.empty() || !keep)
    remove_file(w.part);
  else if (int error = replace_file(w.part, w.path))
    w.problem = std::string(std::strerror(error)) + " (putting " + printable(w.part) + " in its place)";
  return w.problem;
}

}  // namespace recording

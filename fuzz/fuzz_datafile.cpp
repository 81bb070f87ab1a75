// libFuzzer target: any bytes, as a datafile, through the start-up check
// of each of the eight catalogues. Whatever the check accepts is loaded and
// every catalogued object is read the way the game reads it, so that the
// sanitizers see each byte the game would touch. A broken promise of the
// check (an object the game cannot use safely) aborts with its reason.
#include "frame/catalogue.h"
#include "frame/datafile_check.h"
#include "frame/datafile_structure.h"

#include <allegro.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The lowest rate the library's mixer runs at: a looped sample must not
// advance by more than its whole length in one mixed frame there.
constexpr long lowest_mixing_rate = 8000;

std::string folder;
BITMAP *canvas;
volatile unsigned sink;

[[noreturn]] void broken(const std::string &file, int n, const char *why) {
  std::fprintf(stderr, "accepted %s, but object %d %s\n", file.c_str(), n, why);
  std::abort();
}

// One scratch file under all eight names, so that a single write serves
// every catalogue.
void make_folder() {
  const char *base = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
  std::string pattern = std::string(base) + "/swarmfire-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror(pattern.c_str());
    std::exit(1);
  }
  folder = pattern;
  std::string first = folder + "/" + DATAFILE_NAMES[0];
  close(open(first.c_str(), O_CREAT | O_WRONLY, 0600));
  for (int i = 1; i < 8; ++i) link(first.c_str(), (folder + "/" + DATAFILE_NAMES[i]).c_str());
}

void remove_folder() {
  for (const char *name : DATAFILE_NAMES) unlink((folder + "/" + name).c_str());
  rmdir(folder.c_str());
}

bool write_input(const uint8_t *data, size_t size) {
  int fd = open((folder + "/" + DATAFILE_NAMES[0]).c_str(), O_WRONLY | O_TRUNC);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < size) {
    ssize_t n = write(fd, data + done, size - done);
    if (n <= 0) break;
    done += size_t(n);
  }
  close(fd);
  return done == size;
}

// Blitted, drawn as a sprite, and every pixel read through its rows.
void read_bitmap(BITMAP *b) {
  blit(b, canvas, 0, 0, 0, 0, b->w, b->h);
  draw_sprite(canvas, b, 0, 0);
  unsigned sum = 0;
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x) sum += b->line[y][x];
  sink = sum;
}

// All 256 entries, in the 0..63 range the colour tables are built for.
void read_palette(const std::string &file, int n, const RGB *p) {
  for (int i = 0; i < PAL_SIZE; ++i)
    if (p[i].r > 63 || p[i].g > 63 || p[i].b > 63) broken(file, n, "has a palette value above 63");
}

// Every frame; a sound the mixer can step through, and the looped tune
// long enough that one step never jumps past its loop.
void read_sample(const std::string &file, int n, const SAMPLE *s) {
  if (s->bits != 8 && s->bits != 16) broken(file, n, "has a sample depth the mixer cannot play");
  if (s->freq <= 0) broken(file, n, "plays at no frequency");
  if (file == "sound.dat" && n == sound_object::TUNE &&
      long(s->freq) > lowest_mixing_rate * long(s->len))
    broken(file, n, "is a looped tune shorter than one mixing step");
  unsigned long values = s->len * (s->stereo ? 2 : 1);
  unsigned sum = 0;
  if (s->bits == 8)
    for (unsigned long i = 0; i < values; ++i) sum += static_cast<const uint8_t *>(s->data)[i];
  else
    for (unsigned long i = 0; i < values; ++i) sum += static_cast<const uint16_t *>(s->data)[i];
  sink = sum;
}

void read_catalogued(const std::string &file, DATAFILE *data) {
  for (const CataloguedObject &o : catalogued_objects(file)) {
    switch (o.kind) {
      case ObjectKind::bitmap: read_bitmap(dat_bitmap(data, o.position)); break;
      case ObjectKind::palette: read_palette(file, o.position, dat_palette(data, o.position)); break;
      case ObjectKind::sample: read_sample(file, o.position, dat_sample(data, o.position)); break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  set_color_depth(8);
  canvas = create_bitmap(320, 240);
  make_folder();
  std::atexit(remove_folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (!write_input(data, size)) {
    std::perror(folder.c_str());
    std::exit(1);
  }
  // The whole check as start-up runs it, under one of the eight names.
  const char *chosen = DATAFILE_NAMES[size % 8];
  bool accepted = datafile_problem(folder, chosen).empty();
  // Its steps are the same for every name up to the catalogue: when the
  // bytes pass, one load serves all eight catalogues.
  bool sound = datafile_structure_problem(std::vector<uint8_t>(data, data + size)).empty();
  std::string path = folder + "/" + DATAFILE_NAMES[0];
  DATAFILE *loaded = sound ? load_datafile(path.c_str()) : nullptr;
  bool accepted_by_steps = false;
  for (const char *name : DATAFILE_NAMES) {
    if (!loaded || !catalogue_problem(name, loaded).empty()) continue;
    accepted_by_steps = accepted_by_steps || std::string(name) == chosen;
    read_catalogued(name, loaded);
  }
  if (loaded) unload_datafile(loaded);
  if (accepted != accepted_by_steps) {
    std::fprintf(stderr, "as %s the check says %d, its steps %d\n", chosen, accepted, accepted_by_steps);
    std::abort();
  }
  return 0;
}

#include "platform/sound/alsa_messages.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// ALSA may complain from the sound thread too; only the main thread's start
// of the sound keeps anything.
std::atomic<bool> keeping{false};
char kept[256];
bool kept_from_device = false;

// The sources of ALSA's PCM layer (pcm.c, pcm_hw.c, ...) speak of the
// device itself; the configuration's complaints come before them.
bool from_device(const char *file) {
  const char *name = file ? std::strrchr(file, '/') : nullptr;
  name = name ? name + 1 : file;
  return name && std::strncmp(name, "pcm", 3) == 0;
}

void on_alsa_error(const char *file, int, const char *, int err, const char *format, ...) {
  if (!keeping) return;
  bool device = from_device(file);
  if (kept[0] && (kept_from_device || !device)) return;
  va_list args;
  va_start(args, format);
  std::vsnprintf(kept, sizeof kept, format, args);
  va_end(args);
  if (err) {
    size_t used = std::strlen(kept);
    std::snprintf(kept + used, sizeof kept - used, " (%s)", snd_strerror(err));
  }
  kept_from_device = device;
}

}  // namespace

void alsa_messages_keep() {
  kept[0] = '\0';
  kept_from_device = false;
  keeping = true;
  snd_lib_error_set_handler(on_alsa_error);
}

std::string alsa_messages_taken() {
  keeping = false;
  return kept;
}

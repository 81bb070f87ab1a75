// ALSA's library writes its complaints straight to standard error, ten
// lines at every start on a machine without a sound card ("ALSA lib
// pcm.c:2666:(snd_pcm_open_noupdate) Unknown PCM default"). They are kept
// off the terminal; while the sound starts, the device's own complaint is
// kept, so that the game can say in one line of its own why it plays
// silently.
#pragma once

#include <string>

// Before the library starts the sound: from now on ALSA prints nothing, and
// its complaints are kept until alsa_messages_taken.
void alsa_messages_keep();

// The complaint kept since alsa_messages_keep (the first from opening the
// device, else the first at all, with ALSA's reason), or empty; keeps
// nothing more.
std::string alsa_messages_taken();

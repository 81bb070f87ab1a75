// A thread of the platform's own (the background thread, the sound
// thread): started with every signal blocked, so that the stop signals
// (stop_signals.h) always reach the main thread, and named for tools like
// top and gdb.
#pragma once

#include <pthread.h>

// False when it could not be started.
bool start_thread(pthread_t &thread, void *(*body)(void *), const char *name);

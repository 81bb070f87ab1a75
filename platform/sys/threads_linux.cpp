#include "platform/sys/threads.h"

#include <signal.h>

bool start_thread(pthread_t &thread, void *(*body)(void *), const char *name) {
  sigset_t all, old;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &old);
  bool started = pthread_create(&thread, nullptr, body, nullptr) == 0;
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  if (started) pthread_setname_np(thread, name);
  return started;
}

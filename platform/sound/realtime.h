// Real-time scheduling for the calling thread, as sound programs ask for
// it: SCHED_FIFO where the process may set it itself (RLIMIT_RTPRIO, or the
// capability), else through RealtimeKit on the system bus, as PipeWire's
// and PulseAudio's clients do; otherwise the thread stays as it was.
#pragma once

enum class Realtime { NONE, DIRECT, REALTIMEKIT };

// At most this priority (RealtimeKit may allow less). Children forked
// later do not inherit it.
Realtime make_thread_realtime(int priority);

// Windows has no file size limit: the limits are read and set as none
// (the tests that need one to bite are left out).
#pragma once
#define RLIMIT_FSIZE 1
#define SIGXFSZ SIGTERM
struct rlimit { unsigned long long rlim_cur, rlim_max; };
inline int getrlimit(int, rlimit *limit) { return limit->rlim_cur = limit->rlim_max = ~0ull, 0; }
inline int setrlimit(int, const rlimit *) { return 0; }

// Entry point of the real game.
#include "frame/program.h"
#include "platform/platform.h"

#include <cstdio>

int main() {
  std::string missing = platform_preflight();
  if (!missing.empty()) {
    std::fprintf(stderr, "swarmfire: %s\n", missing.c_str());
    return 1;
  }
  return game_main();
}
END_OF_MAIN()

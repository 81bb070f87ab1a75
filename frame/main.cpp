// Entry point of the real game.
#include "frame/data_path.h"
#include "frame/datafile_check.h"
#include "frame/program.h"
#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// The eight datafiles of the data folder, read with the library started
// without any driver, so no display is needed yet.
std::string datafiles_here_problem() {
  std::string problem = data_folder_problem();
  if (!problem.empty()) return problem;
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  problem = datafiles_problem(data_folder());
  allegro_exit();
  return problem;
}

}  // namespace

int main() {
  std::string problem = datafiles_here_problem();
  if (problem.empty()) problem = platform_preflight();
  if (!problem.empty()) {
    std::fprintf(stderr, "swarmfire: %s\n", problem.c_str());
    return 1;
  }
  return game_main();
}
END_OF_MAIN()

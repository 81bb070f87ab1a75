// The program frame: the command line, the title dispatch and the close
// button. (The closing zoom's frames and pictures are pinned by the stored
// replays, which all end by quitting.)
#include "frame/command_line.h"
#include "frame/game_state.h"
#include "frame/play_loops.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "tests/support/headless_game.h"

using ProgramTest = HeadlessTest;

TEST_F(ProgramTest, StartUpSwitchesAllOptionsOnAndQuitEndsWithStatusZero) {
  option_glow = option_music = option_shot_collisions = 0;
  KeyScript().hold(KEY_DOWN, 3, 4).hold(KEY_DOWN, 7, 8).hold(KEY_ALT, 11, 12).install();
  EXPECT_EQ(game_main(), 0);
  EXPECT_EQ(option_glow, 1);
  EXPECT_EQ(option_shot_collisions, 1);
  EXPECT_EQ(headless_twin.shut_downs, 1);
  EXPECT_FALSE(headless_twin.started);
}

TEST_F(ProgramTest, ALibraryThatCannotStartEndsTheProgramWithStatusOne) {
  headless_twin.refuse_start = true;
  testing::internal::CaptureStderr();
  EXPECT_EQ(game_main(), 1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.rfind("swarmfire: cannot start", 0), 0u) << err;
  EXPECT_EQ(headless::frames(), 0);
}

namespace {

CommandLine parse(std::vector<std::string> words) {
  std::vector<char *> argv;
  for (std::string &w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  return parse_command_line(static_cast<int>(words.size()), argv.data());
}

}  // namespace

// Bad values, each one line pointing at --help, and what --help, -h,
// --version and -V print are the real binary's test (real_no_window).
TEST(CommandLineTest, OptionsAndWhatTheyChoose) {
  CommandLine line = parse({"swarmfire", "--fullscreen", "--scale", "8"});
  EXPECT_TRUE(line.error.empty()) << line.error;
  EXPECT_TRUE(line.display.fullscreen);
  EXPECT_EQ(line.display.scale, 8);
  line = parse({"swarmfire", "--fullscreen", "--window", "--scale=1"});
  EXPECT_FALSE(line.display.fullscreen);
  EXPECT_EQ(line.display.scale, 1);
  EXPECT_FALSE(line.display_given && parse({"swarmfire"}).display_given);
  line = parse({"swarmfire", "--play", "best.sfr", "--window"});
  EXPECT_EQ(line.recording, Recording::Play);
  EXPECT_EQ(line.recording_file, "best.sfr");
  EXPECT_TRUE(line.display_given);
}

TEST(CommandLineTest, AmbiguousRepeatedAndPointlessOptionsAreNamedAsSuch) {
  EXPECT_EQ(parse({"swarmfire", "--ver"}).error,
            "option '--ver' is ambiguous: --version or --verify (see swarmfire --help)");
  EXPECT_EQ(parse({"swarmfire", "--ver=x.sfr"}).error,
            "option '--ver' is ambiguous: --version or --verify (see swarmfire --help)");
  EXPECT_EQ(parse({"swarmfire", "--verb"}).error, "unknown option '--verb' (see swarmfire --help)");
  EXPECT_EQ(parse({"swarmfire", "--verif", "a.sfr"}).recording, Recording::Verify);
  EXPECT_EQ(parse({"swarmfire", "--record", "a.sfr", "--record", "b.sfr"}).error,
            "--record given twice (see swarmfire --help)");
  for (const char *display : {"--scale=2", "--fullscreen", "--window"})
    EXPECT_EQ(parse({"swarmfire", "--verify", "a.sfr", display}).error,
              "--verify shows nothing, so --scale, --window and --fullscreen do not go with it (see swarmfire --help)");
}

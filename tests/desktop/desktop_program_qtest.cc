// The desktop program started as a user starts it where no window can be
// opened: it says so and ends with exit code 2 instead of aborting.
#include <gtest/gtest.h>

#include "support/program_process.h"

namespace {

using test_support::Spawn;

TEST(DesktopProgram, WithoutADisplayOrWithAnUnreachableOneSaysWindowCreationFailedAndExitsWith2) {
  const struct {
    const char* scenario;
    std::vector<std::string> environment;
    std::vector<std::string> unset;
  } cases[] = {
      {"no display at all", {}, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}},
      {"a display that nothing answers", {"DISPLAY=:97"}, {"WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}},
  };
  for (const auto& c : cases) {
    const TempFolder folder, captures;
    Spawn spawn{{}};
    spawn.program = QUORVAL_DESKTOP_PATH;
    spawn.environment = c.environment;
    spawn.unset = c.unset;
    const test_support::Result run = test_support::RunProgram(spawn, folder, captures);
    EXPECT_EQ(run.status, 2) << c.scenario;
    EXPECT_NE(run.err.find("Window creation failed!"), std::string::npos) << c.scenario << ": " << run.err;
  }
}

}  // namespace

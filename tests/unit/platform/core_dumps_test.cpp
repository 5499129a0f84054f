#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core_dumps.h"

// Process-wide settings: each case runs in a child of its own.
TEST(CoreDumps, NeverACoreFileAndHiddenFromTheUsersOtherProcessesUnlessPortalsMustIdentifyTheProgram) {
  for (const bool portals : {false, true}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const bool kept = platform::KeepMemoryOutOfCoreDumps(portals);
      rlimit limit{};
      ::getrlimit(RLIMIT_CORE, &limit);
      const bool dumpable = ::prctl(PR_GET_DUMPABLE) == 1;
      ::_exit(kept && limit.rlim_cur == 0 && limit.rlim_max == 0 && dumpable == portals ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "portals must identify it: " << portals;
  }
}

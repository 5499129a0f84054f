#include "platform/core_dumps.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace platform {

bool KeepMemoryOutOfCoreDumps(bool portalsMustIdentifyProcess) {
  const rlimit none{0, 0};
  const bool limited = ::setrlimit(RLIMIT_CORE, &none) == 0;
  if (portalsMustIdentifyProcess) return limited;
  return limited && ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
}

}  // namespace platform

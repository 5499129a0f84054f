#pragma once
// The program holds deciphered passwords in memory: a crash must not write them into a core
// file, and other processes of the same user must not read its memory.
namespace platform {

// Sets the core file limit to zero and, unless the desktop's portals must tell who calls them,
// marks the process as not dumpable (which also stops ptrace and /proc/<pid>/mem access by other
// processes of the user). A portal opens the caller's /proc/<pid>/root, which a process that is not
// dumpable keeps from everyone but root: every portal call would be refused. False if a step failed.
bool KeepMemoryOutOfCoreDumps(bool portalsMustIdentifyProcess = false);

}  // namespace platform

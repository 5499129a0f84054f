#pragma once
// The program holds deciphered passwords in memory: a crash must not write them into a core
// file, and other processes of the same user must not read its memory.
namespace platform {

// Sets the core file limit to zero and marks the process as not dumpable (which also stops
// ptrace and /proc/<pid>/mem access by other processes of the user). False if either failed.
bool KeepMemoryOutOfCoreDumps();

}  // namespace platform

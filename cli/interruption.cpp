#include "cli/interruption.h"

#include <csignal>

namespace cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

}  // namespace

void CatchSignals(std::initializer_list<int> numbers) {
  interrupted = 0;
  for (const int number : numbers) std::signal(number, OnInterrupt);
}

bool Interrupted() { return interrupted != 0; }

}  // namespace cli

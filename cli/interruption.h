#pragma once
// Ctrl+C, kill and a closed terminal as a flag that a long command polls, so that it ends in
// order (an import rolled back, the clipboard emptied) instead of where the signal finds it.
#include <initializer_list>

namespace cli {

// Clears the flag and lets the given signals set it.
void CatchSignals(std::initializer_list<int> numbers);
bool Interrupted();

}  // namespace cli

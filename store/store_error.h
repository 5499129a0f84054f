#pragma once
#include <stdexcept>
#include <string>

namespace store {

// A failing database operation; what() carries the engine's message.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace store

#include "crypto/database_key.h"

#include "crypto/system_random.h"

namespace crypto {
namespace {

constexpr std::uint32_t kLargestKey = 99'999'999;

}  // namespace

std::uint32_t DrawDatabaseKey() { return 1 + RandomBelow(kLargestKey); }

std::string DrawDatabaseKeyText() { return std::to_string(DrawDatabaseKey()); }

}  // namespace crypto

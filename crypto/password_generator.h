#pragma once
// Random passwords drawn from chosen classes of printable ASCII characters.
#include <string>

namespace crypto {

struct PasswordRules {
  static constexpr int kShortest = 4;
  static constexpr int kLongest = 64;

  int length = 16;
  bool upperCase = true;
  bool lowerCase = true;
  bool digits = true;
  bool symbols = true;            // the 32 ASCII punctuation characters
  bool excludeLookAlikes = true;  // 0 O o 1 l I |

  bool operator==(const PasswordRules&) const = default;
};

// The characters the rules allow, in ASCII order; empty when no class is chosen.
std::string PasswordAlphabet(const PasswordRules& rules);

// Every character uniform over the alphabet; drawn again as a whole until each chosen class
// occurs. Throws std::invalid_argument when no class is chosen or the length is outside 4..64.
std::string GeneratePassword(const PasswordRules& rules);

// length × log2(alphabet size); 0 when no class is chosen.
double PasswordStrengthBits(const PasswordRules& rules);

}  // namespace crypto

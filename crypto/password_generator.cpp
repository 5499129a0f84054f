#include "crypto/password_generator.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "crypto/system_random.h"

namespace crypto {
namespace {

constexpr std::string_view kUpperCase = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kLowerCase = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kSymbols = R"(!"#$%&'()*+,-./:;<=>?@[\]^_`{|}~)";
constexpr std::string_view kLookAlikes = "0Oo1lI|";

// The chosen classes, each without the look-alikes when those are excluded.
std::vector<std::string> ChosenClasses(const PasswordRules& rules) {
  std::vector<std::string> classes;
  auto add = [&](bool chosen, std::string_view characters) {
    if (!chosen) return;
    std::string kept;
    for (char c : characters)
      if (!rules.excludeLookAlikes || kLookAlikes.find(c) == std::string_view::npos) kept += c;
    classes.push_back(std::move(kept));
  };
  add(rules.upperCase, kUpperCase);
  add(rules.lowerCase, kLowerCase);
  add(rules.digits, kDigits);
  add(rules.symbols, kSymbols);
  return classes;
}

bool HasEveryClass(const std::string& password, const std::vector<std::string>& classes) {
  return std::all_of(classes.begin(), classes.end(), [&](const std::string& characters) {
    return password.find_first_of(characters) != std::string::npos;
  });
}

}  // namespace

std::string PasswordAlphabet(const PasswordRules& rules) {
  std::string alphabet;
  for (const std::string& characters : ChosenClasses(rules)) alphabet += characters;
  std::sort(alphabet.begin(), alphabet.end());
  return alphabet;
}

std::string GeneratePassword(const PasswordRules& rules) {
  if (rules.length < PasswordRules::kShortest || rules.length > PasswordRules::kLongest)
    throw std::invalid_argument("password length outside 4..64");
  const std::vector<std::string> classes = ChosenClasses(rules);
  if (classes.empty()) throw std::invalid_argument("no character class chosen");
  const std::string alphabet = PasswordAlphabet(rules);
  const auto size = static_cast<std::uint32_t>(alphabet.size());
  std::string password(static_cast<std::size_t>(rules.length), '\0');
  do {
    for (char& c : password) c = alphabet[RandomBelow(size)];
  } while (!HasEveryClass(password, classes));
  return password;
}

double PasswordStrengthBits(const PasswordRules& rules) {
  const std::size_t size = PasswordAlphabet(rules).size();
  return size == 0 ? 0.0 : rules.length * std::log2(static_cast<double>(size));
}

}  // namespace crypto

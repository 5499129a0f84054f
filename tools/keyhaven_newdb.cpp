// keyhaven-newdb: writes a new, empty account database that the program can log in to.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "crypto/protected_field.h"
#include "store/database_file.h"
#include "store/store_error.h"

namespace {

constexpr std::string_view kUsage = "usage: keyhaven-newdb [--master PASSWORD] [--force] PATH";
constexpr std::string_view kDefaultMasterPassword = "123456";

struct Options {
  std::string master{kDefaultMasterPassword};
  bool force = false;
  std::string path;
};

bool ParseArguments(int argc, char** argv, Options& options) {
  bool havePath = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--force") {
      options.force = true;
    } else if (argument == "--master") {
      if (++i >= argc) return false;
      options.master = argv[i];
    } else if (argument.starts_with("-") || havePath || argument.empty()) {
      return false;
    } else {
      options.path = argument;
      havePath = true;
    }
  }
  return havePath;
}

// The login window takes nothing but letters and digits, so any other password could
// never be typed in.
bool IsTypeableMasterPassword(std::string_view password) {
  const auto letterOrDigit = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  };
  return !password.empty() && std::all_of(password.begin(), password.end(), letterOrDigit);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::cerr << kUsage << '\n';
    return 2;
  }
  if (!IsTypeableMasterPassword(options.master)) {
    std::cerr << "keyhaven-newdb: the master password must be letters and digits only, and not empty\n";
    return 1;
  }
  try {
    store::CreateDatabaseFile(options.path, crypto::MasterPasswordCipher(options.master), options.force);
  } catch (const store::StoreError& error) {
    std::cerr << "keyhaven-newdb: " << error.what() << '\n';
    return 1;
  }
  return 0;
}

// keyhaven-newdb: writes a new, empty account database that the program can log in to.
#include <string.h>  // explicit_bzero
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "crypto/key_derivation.h"
#include "crypto/protected_field.h"
#include "platform/terminal_prompt.h"
#include "store/database_file.h"
#include "store/file_copy.h"
#include "store/store_error.h"
#include "store/temporary_files.h"
#include "vault/master_password_rules.h"

namespace {

constexpr std::string_view kUsage =
    "usage: keyhaven-newdb [--master-stdin | --ask-master | --master PASSWORD] [--protect] [--force] PATH";
constexpr std::string_view kHelp =
    "Writes a new, empty keyhaven database to PATH; an existing file is replaced only with --force.\n"
    "The master password is 123456 unless one of these gives another (letters and digits only):\n"
    "  --master-stdin       read it from the first line of standard input\n"
    "  --ask-master         ask for it on the terminal, without echo\n"
    "  --master PASSWORD    take it from the command line, where other users can see it in the\n"
    "                       process list, and where it stays in the shell's history\n"
    "With --protect the file is keyed with a key derived from the master password, and nothing\n"
    "opens it without that password; it needs --master-stdin or --ask-master and a password of\n"
    "at least 8 letters and digits other than 123456.\n";

enum class MasterSource { kDefault, kArgument, kStandardInput, kTerminal };

struct Options {
  MasterSource source = MasterSource::kDefault;
  std::string master{vault::kInitialMasterPassword};
  bool force = false;
  bool protect = false;
  bool help = false;
  std::string path;
};

bool ParseArguments(int argc, char** argv, Options& options) {
  bool havePath = false;
  const auto takeSource = [&options](MasterSource source) {
    if (options.source != MasterSource::kDefault) return false;
    options.source = source;
    return true;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help") {
      options.help = true;
      return true;
    } else if (argument == "--force") {
      options.force = true;
    } else if (argument == "--protect") {
      options.protect = true;
    } else if (argument == "--master") {
      if (++i >= argc || !takeSource(MasterSource::kArgument)) return false;
      options.master = argv[i];
    } else if (argument == "--master-stdin") {
      if (!takeSource(MasterSource::kStandardInput)) return false;
    } else if (argument == "--ask-master") {
      if (!takeSource(MasterSource::kTerminal)) return false;
    } else if (argument.starts_with("-") || havePath || argument.empty()) {
      return false;
    } else {
      options.path = argument;
      havePath = true;
    }
  }
  return havePath;
}

// The master password's line; nullopt, said why, when there is none or it is too long.
std::optional<std::string> PasswordLine(const std::function<std::optional<std::string>()>& read) {
  try {
    return read();
  } catch (const platform::LineTooLong&) {
    std::cerr << "keyhaven-newdb: the master password's line is longer than " << platform::kLongestPasswordLine / 1024
              << " KiB\n";
    return std::nullopt;
  }
}

// Asks on the controlling terminal with its echo off, so the password never shows on screen.
std::optional<std::string> AskOnTerminal(int tty, std::string_view prompt) {
  return PasswordLine([&] { return platform::AskOnTerminal(tty, prompt, true, platform::kLongestPasswordLine); });
}

// Asked twice, as a mistyped new password could never be typed in again.
std::optional<std::string> AskMasterPassword() {
  const int tty = platform::OpenTerminal();
  if (tty < 0) {
    std::cerr << "keyhaven-newdb: --ask-master needs a terminal\n";
    return std::nullopt;
  }
  std::optional<std::string> first = AskOnTerminal(tty, "Master password: ");
  std::optional<std::string> second = first ? AskOnTerminal(tty, "Master password again: ") : std::nullopt;
  ::close(tty);
  if (!first || !second) {
    std::cerr << "keyhaven-newdb: no master password was typed\n";
    return std::nullopt;
  }
  if (*first != *second) {
    std::cerr << "keyhaven-newdb: the two master passwords differ\n";
    return std::nullopt;
  }
  return first;
}

std::optional<std::string> MasterPassword(const Options& options) {
  switch (options.source) {
    case MasterSource::kStandardInput: {
      std::optional<std::string> line =
          PasswordLine([] { return platform::ReadLine(STDIN_FILENO, platform::kLongestPasswordLine); });
      if (!line) std::cerr << "keyhaven-newdb: standard input holds no master password\n";
      return line;
    }
    case MasterSource::kTerminal:
      return AskMasterPassword();
    case MasterSource::kDefault:
    case MasterSource::kArgument:
      break;
  }
  return options.master;
}

// Wipes the typed password as soon as the key is derived from it.
void CreateProtectedFile(const std::string& path, std::string& master, bool force) {
  const crypto::KeySalt salt = crypto::NewKeySalt(crypto::kFileKeyParameters);
  const crypto::HeldKey key = crypto::DeriveFileKey(master, salt, crypto::kFileKeyParameters);
  ::explicit_bzero(master.data(), master.size());
  store::CreateDatabaseFile(path, store::FileKey{key.bytes(), salt}, force);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::cerr << kUsage << '\n';
    return 2;
  }
  if (options.help) {
    std::cout << kUsage << '\n' << kHelp;
    return 0;
  }
  if (options.protect && (options.source == MasterSource::kDefault || options.source == MasterSource::kArgument)) {
    std::cerr << "keyhaven-newdb: --protect takes the master password from --master-stdin or --ask-master only\n";
    return 2;
  }
  std::optional<std::string> master = MasterPassword(options);
  if (!master) return 1;
  if (!vault::IsTypeableMasterPassword(*master)) {
    std::cerr << "keyhaven-newdb: the master password must be letters and digits only, and not empty\n";
    return 1;
  }
  if (options.protect && vault::IsWeakMasterPassword(*master)) {
    std::cerr << "keyhaven-newdb: a protected file needs a master password of at least "
              << vault::kShortestStrongMasterPassword << " letters and digits other than "
              << vault::kInitialMasterPassword << "\n";
    return 1;
  }
  // What a killed run or program left in the folder, holding a copy of some database.
  store::RemoveLeftovers(store::FolderOf(options.path), store::kBesideTargetPrefixes);
  try {
    if (options.protect) {
      CreateProtectedFile(options.path, *master, options.force);
    } else {
      store::CreateDatabaseFile(options.path, crypto::MasterPasswordCipher(*master), options.force);
    }
  } catch (const store::StoreError& error) {
    std::cerr << "keyhaven-newdb: " << error.what() << '\n';
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "keyhaven-newdb: cannot derive the file's key: " << error.what() << '\n';
    return 1;
  }
  return 0;
}

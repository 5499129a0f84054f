// cli_bench FOLDER [--repeat N] [--master PASSWORD]
// Times `keyhaven-cli --db FOLDER/_.udb ls` from its start to its end (login, listing and the
// output read to its last byte through a pipe), then the bare engine opening the same file and
// running the listing's statement, reading every column as text. Prints the medians, the ratio
// and the command's peak resident memory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/app/raw_engine.h"
#include "store/statements.h"

extern char** environ;

namespace {

constexpr std::string_view kUsage = "usage: cli_bench FOLDER [--repeat N] [--master PASSWORD]";
constexpr double kTargetRatio = 2.5;

struct Options {
  std::string folder;
  int repeats = 5;
  std::string master = "123456";
};

bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--repeat" && i + 1 < argc) {
      const std::string_view value = argv[++i];
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), options.repeats);
      if (error != std::errc() || end != value.data() + value.size() || options.repeats < 1) return false;
    } else if (argument == "--master" && i + 1 < argc) {
      options.master = argv[++i];
    } else if (options.folder.empty() && !argument.starts_with("-")) {
      options.folder = argument;
    } else {
      return false;
    }
  }
  return !options.folder.empty();
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

struct CommandRun {
  double milliseconds = 0;
  long peakKilobytes = 0;
  std::size_t lines = 0;
};

// One whole run of the command: the master password on its standard input, its output read
// through a pipe as a script would read it.
CommandRun RunCommand(const std::string& program, const std::vector<std::string>& arguments, const std::string& input) {
  int in[2];
  int out[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv{
      const_cast<char*>(program.c_str())};  // NOLINT(cppcoreguidelines-pro-type-const-cast): spawn's C signature
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));  // NOLINT
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);
  if (::write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size()))
    throw std::runtime_error("cannot write the master password");
  ::close(in[1]);
  CommandRun run;
  std::vector<char> buffer(1 << 16);
  ssize_t got = 0;
  while ((got = ::read(out[0], buffer.data(), buffer.size())) > 0)
    run.lines += static_cast<std::size_t>(std::count(buffer.data(), buffer.data() + got, '\n'));
  ::close(out[0]);
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  run.milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(program + " failed");
  run.peakKilobytes = usage.ru_maxrss;
  return run;
}

template <typename Work>
double Milliseconds(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::fprintf(stderr, "%s\n", kUsage.data());
    return 2;
  }
  try {
    const std::string database = (std::filesystem::path(options.folder) / "_.udb").string();
    const std::string cli = (std::filesystem::canonical("/proc/self/exe").parent_path() / "keyhaven-cli").string();
    std::vector<double> command;
    std::vector<double> engine;
    long peak = 0;
    std::size_t lines = 0;
    long rows = 0;
    for (int r = 0; r < options.repeats; ++r) {
      const CommandRun run = RunCommand(cli, {"--db", database, "ls"}, options.master + "\n");
      command.push_back(run.milliseconds);
      peak = std::max(peak, run.peakKilobytes);
      lines = run.lines;
      // The engine from its open on, as the command's own first statement pays it too.
      engine.push_back(Milliseconds([&] {
        RawEngine raw(database);
        rows = raw.run(store::sql::SelectAllByUsage());
      }));
    }
    const double ratio = Median(command) / Median(engine);
    std::printf("keyhaven-cli ls, %ld records in %s, median of %d runs\n\n", rows, database.c_str(), options.repeats);
    std::printf("| operation | keyhaven-cli ms | engine ms | ratio | target |\n|---|---:|---:|---:|---|\n");
    std::printf("| ls (%zu lines) | %.1f | %.1f | %.2f | ratio <= %.1f: %s |\n", lines, Median(command), Median(engine),
                ratio, kTargetRatio, ratio <= kTargetRatio ? "met" : "MISSED");
    std::printf("peak resident memory of keyhaven-cli: %.1f MB\n", static_cast<double>(peak) / 1024.0);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "cli_bench: %s\n", error.what());
    return 1;
  }
}

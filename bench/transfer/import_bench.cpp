// Importing a KeePassXC export into a fresh database: reading and planning, then adding the
// rows in one transaction. The aims: under 10 s for 100,000 rows, and a peak of resident memory
// within 4 times the file's size for a file near the largest one accepted.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "crypto/protected_field.h"
#include "store/database_file.h"
#include "transfer/csv_import.h"
#include "vault/vault.h"

namespace {

constexpr int kRows = 100000;
constexpr int kLargeFileRows = 480000;  // about 60 MiB, near kLargestImport

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "keyhaven-import-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Rows as a password manager exports them: a few dozen groups, Chinese and Latin text, notes
// on every fifth row.
void WriteExport(const std::string& path, int rows) {
  std::ofstream out(path, std::ios::binary);
  out << "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\","
         "\"Created\"\n";
  for (int i = 0; i < rows; ++i) {
    const std::string n = std::to_string(i);
    out << "\"Root/分组" << i % 40 << "\",\"网站 " << n << "\",\"user" << n << "@example.com\",\"Pw!" << n
        << "xYz#q9\",\"https://site" << n << ".example.com/login\",\""
        << (i % 5 == 0 ? "备注 第一行\n第二行 " + n : std::string()) << "\",\"\",\"0\",\"\",\"\"\n";
  }
}

// A fresh, empty database in the folder, opened as the window opens it.
void OpenFreshVault(const ScratchFolder& folder, vault::Vault& vault) {
  const std::string database = folder.path() + "_.udb";
  std::filesystem::remove(database);
  store::CreateDatabaseFile(database, crypto::MasterPasswordCipher("123456"), false);
  vault.open(QString::fromStdString(folder.path()));
  vault.loadDatabaseKey();
}

bool ImportsEveryRow(vault::Vault& vault, const std::string& csv, int rows) {
  const transfer::ImportPlan plan = transfer::PlanImport(vault, QString::fromStdString(csv));
  const auto outcome = transfer::RunImport(vault, plan, "2026-12-09 10:11:12", [](int, int) { return true; });
  return outcome == transfer::ImportOutcome::Imported && plan.records.size() == static_cast<std::size_t>(rows);
}

// A line of /proc/self/status in bytes: "VmRSS", "VmHWM".
double StatusBytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(key + ":")) return std::stod(line.substr(key.size() + 1)) * 1024;
  }
  throw std::runtime_error("no " + key + " in /proc/self/status");
}

void ImportHundredThousandRows(benchmark::State& state) {
  ScratchFolder folder;
  const std::string csv = folder.path() + "export.csv";
  WriteExport(csv, kRows);
  for (auto _ : state) {
    state.PauseTiming();
    vault::Vault vault;
    OpenFreshVault(folder, vault);
    state.ResumeTiming();

    if (!ImportsEveryRow(vault, csv, kRows)) state.SkipWithError("not every row was imported");

    state.PauseTiming();
    vault.close();
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      if (entry.path().filename().string().find("_bak_") != std::string::npos) std::filesystem::remove(entry);
    }
    state.ResumeTiming();
  }
  state.counters["rows"] = kRows;
}
BENCHMARK(ImportHundredThousandRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// The growth of resident memory over the whole import, against the file's size.
void ImportPeakMemoryOfALargeFile(benchmark::State& state) {
  ScratchFolder folder;
  const std::string csv = folder.path() + "export.csv";
  WriteExport(csv, kLargeFileRows);
  const auto fileBytes = static_cast<double>(std::filesystem::file_size(csv));
  double peakBytes = 0;
  for (auto _ : state) {
    vault::Vault vault;
    OpenFreshVault(folder, vault);
    ::malloc_trim(0);  // what earlier runs freed is no part of this one
    const double before = StatusBytes("VmRSS");
    std::ofstream("/proc/self/clear_refs") << "5";  // the high-water mark starts again from here
    if (!ImportsEveryRow(vault, csv, kLargeFileRows)) state.SkipWithError("not every row was imported");
    peakBytes = StatusBytes("VmHWM") - before;
  }
  constexpr double kMiB = 1024.0 * 1024.0;
  state.counters["file_MiB"] = fileBytes / kMiB;
  state.counters["peak_MiB"] = peakBytes / kMiB;
  state.counters["peak_per_file_byte"] = peakBytes / fileBytes;  // the aim: at most 4
}
BENCHMARK(ImportPeakMemoryOfALargeFile)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

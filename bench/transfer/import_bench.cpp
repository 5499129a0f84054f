// Importing 100,000 rows of a KeePassXC export into a fresh database: reading and planning,
// then adding them in one transaction. The aim is under 10 s for both together.
#include <benchmark/benchmark.h>
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
void WriteExport(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\","
         "\"Created\"\n";
  for (int i = 0; i < kRows; ++i) {
    const std::string n = std::to_string(i);
    out << "\"Root/分组" << i % 40 << "\",\"网站 " << n << "\",\"user" << n << "@example.com\",\"Pw!" << n
        << "xYz#q9\",\"https://site" << n << ".example.com/login\",\""
        << (i % 5 == 0 ? "备注 第一行\n第二行 " + n : std::string()) << "\",\"\",\"0\",\"\",\"\"\n";
  }
}

void ImportHundredThousandRows(benchmark::State& state) {
  ScratchFolder folder;
  const std::string csv = folder.path() + "export.csv";
  WriteExport(csv);
  for (auto _ : state) {
    state.PauseTiming();
    const std::string database = folder.path() + "_.udb";
    std::filesystem::remove(database);
    store::CreateDatabaseFile(database, crypto::MasterPasswordCipher("123456"), false);
    vault::Vault vault;
    vault.open(QString::fromStdString(folder.path()));
    vault.loadDatabaseKey();
    state.ResumeTiming();

    const transfer::ImportPlan plan = transfer::PlanImport(vault, QString::fromStdString(csv));
    const auto outcome = transfer::RunImport(vault, plan, "2026-12-09 10:11:12", [](int, int) { return true; });
    if (outcome != transfer::ImportOutcome::Imported || plan.records.size() != kRows)
      state.SkipWithError("not every row was imported");

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

}  // namespace

BENCHMARK_MAIN();

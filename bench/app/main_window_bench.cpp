// app_bench FOLDER [--repeat N] [--master PASSWORD]
// Times the main window's operations over FOLDER/_.udb, then the bare engine running the same
// statements on the same file, and prints both with their ratio and the peak resident memory;
// then the start and the listing of a protected copy against the fixed-key file, and one key
// derivation at the program's costs.
#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/app/program_session.h"
#include "bench/app/raw_engine.h"
#include "crypto/key_derivation.h"
#include "crypto/protected_field.h"
#include "store/statements.h"
#include "vault/listing.h"
#include "vault/vault.h"
#include "widgets/panel_status_bar.h"

namespace {

constexpr std::string_view kUsage = "usage: app_bench FOLDER [--repeat N] [--master PASSWORD]";
// Words that the records made by keyhaven-fill hold in some titles and notes.
const QString kTitleKeyword = "银行";
const QString kNoteKeyword = "密码";
constexpr double kRatioTarget = 3.0;
constexpr double kProtectedRatioTarget = 1.2;
constexpr double kPickTargetMs = 20.0;
constexpr double kNoteSearchTargetMs = 1000.0;
constexpr double kMemoryTargetMb = 150.0;

struct Options {
  QString folder;
  QString master = "123456";
  int repeats = 5;
};

bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--repeat" && i + 1 < argc) {
      const std::string_view value = argv[++i];
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), options.repeats);
      if (error != std::errc() || end != value.data() + value.size() || options.repeats < 1) return false;
    } else if (argument == "--master" && i + 1 < argc) {
      options.master = QString::fromLocal8Bit(argv[++i]);
    } else if (argument.starts_with("-") || !options.folder.isEmpty()) {
      return false;
    } else {
      options.folder = QString::fromLocal8Bit(argv[i]);
    }
  }
  if (options.folder.isEmpty()) return false;
  if (!options.folder.endsWith('/')) options.folder += '/';
  return true;
}

double Milliseconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const std::size_t middle = samples.size() / 2;
  return samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void Expect(bool holds, const std::string& what) {
  if (!holds) throw std::runtime_error("unexpected result: " + what);
}

struct Operation {
  Operation(std::string operationName, double absoluteLimitMs = 0)
      : name(std::move(operationName)), limitMs(absoluteLimitMs) {}
  std::string name;
  double limitMs;  // an absolute target besides the ratio; 0 for none
  std::vector<double> program;
  std::vector<double> engine;
};

struct Figures {
  Operation start{"start to main window after login"};
  Operation refresh{"listing by usage (刷新数据)"};
  Operation rebuild{"category list rebuild (刷新分类)"};
  Operation pick{"pick a record", kPickTargetMs};
  Operation titleSearch{"search in 标题"};
  Operation noteSearch{"search in 备注", kNoteSearchTargetMs};
  Operation add{"add a record"};
  Operation modify{"modify a record"};
  Operation remove{"delete a record"};
  Operation rename{"rename a category"};
  double programPeakMb = 0;
  double enginePeakMb = 0;

  std::vector<Operation*> all() {
    return {&start, &refresh, &rebuild, &pick, &titleSearch, &noteSearch, &add, &modify, &remove, &rename};
  }
};

// What the program did, so the engine can run the very same statements.
struct Plan {
  int records = 0;
  std::vector<std::string> pickedNumbers;
  std::vector<std::string> noteHits;
  store::sql::NewRecord added;
  std::string renameFrom, renameTo;
};

// The program runs every handler to its end and then paints what changed, as a user sees it.
double TimeHandler(const std::function<void()>& handler) {
  return Milliseconds([&] {
    handler();
    QApplication::processEvents();
  });
}

std::string Text(const QString& text) { return text.toStdString(); }

void MeasureProgram(const Options& options, Figures& figures, Plan& plan) {
  ProgramSession session(options.folder, options.master);
  for (int r = 0; r < options.repeats; ++r) {
    session.stop();
    figures.start.program.push_back(Milliseconds([&] { session.start(); }));
  }
  app::TForm1& w = session.main();
  vault::Listing& listing = w.vault().listing();
  auto& categoryList = session.control<QListWidget>("ListBox_Class");
  auto& categoryBox = session.control<QComboBox>("Edit_FenLei");
  auto& numberBox = session.control<QLineEdit>("Edit_BianHao");
  auto& passwordCopy = session.control<QLineEdit>("Edit_MiMa_Temp");
  auto& searchColumn = session.control<QComboBox>("ComboBoxSeachClass");
  auto& keywordBox = session.control<QLineEdit>("searchkeyword");
  auto& statusBar = session.control<widgets::PanelStatusBar>("StatusBar1");
  auto& titleBox = session.control<QLineEdit>("Edit_BiaoTi");
  auto& addressBox = session.control<QLineEdit>("Edit_WangZhi");
  auto& accountBox = session.control<QLineEdit>("Edit_ZhangHao");
  auto& passwordBox = session.control<QLineEdit>("Edit_MiMa");
  auto& noteBox = session.control<QPlainTextEdit>("Memo_BeiZhu");
  auto& grid = session.control<QTableView>("DBGrid1");
  plan.records = listing.count();
  Expect(plan.records > 0 && listing.rowCount() == plan.records, "the grid lists every record after login");

  for (int r = 0; r < options.repeats; ++r)
    figures.refresh.program.push_back(TimeHandler([&] { w.Button_RefreshClick(); }));
  Expect(listing.rowCount() == plan.records, "the refresh lists every record");

  for (int r = 0; r < options.repeats; ++r)
    figures.rebuild.program.push_back(TimeHandler([&] { w.Button_GeiClassClick(); }));
  Expect(categoryList.count() > 0 && categoryBox.count() == categoryList.count(), "the category lists");
  w.Button_RefreshClick();

  const int picks = options.repeats * 4;
  for (int r = 0; r < picks; ++r) {
    const int row = static_cast<int>(static_cast<long>(plan.records - 1) * (r + 1) / (picks + 1));
    const QString number = listing.index(row, 0).data().toString();
    session.bringRowIntoView(row);
    figures.pick.program.push_back(TimeHandler([&] { session.pickRow(row); }));
    Expect(numberBox.text() == number && !passwordCopy.text().isEmpty(), "the pick fills the form");
    plan.pickedNumbers.push_back(Text(number));
  }

  auto search = [&](Operation& operation, const QString& column, const QString& keyword) {
    searchColumn.setCurrentIndex(searchColumn.findText(column));
    for (int r = 0; r < options.repeats; ++r) {
      keywordBox.setText(keyword);
      operation.program.push_back(TimeHandler([&] { w.Button_SearchClick(); }));
      const int hits = listing.count();
      Expect(hits > 0 && hits < plan.records, "a search in " + Text(column) + " finds some records");
      Expect(statusBar.panelText(0) == "关于" + keyword + "的信息,共搜索到" + QString::number(hits) + "条",
             "the search summary");
    }
  };
  search(figures.titleSearch, "标题", kTitleKeyword);
  search(figures.noteSearch, "备注", kNoteKeyword);
  for (const auto& row : listing.rows()) plan.noteHits.push_back(row[0]);

  const std::string key = w.vault().databaseKey();
  plan.added = {Text(categoryBox.itemText(0)),
                "基准测试 Benchmark 记录",
                "https://bench.example.com/login",
                "bench.user@example.com",
                crypto::ProtectField("Bench-pass-12345", key),
                crypto::ProtectField("基准测试的备注 a note for the benchmark", key)};
  for (int r = 0; r < options.repeats; ++r) {
    categoryBox.setCurrentIndex(0);
    titleBox.setText(QString::fromStdString(plan.added.title));
    addressBox.setText(QString::fromStdString(plan.added.address));
    accountBox.setText(QString::fromStdString(plan.added.account));
    passwordBox.setText("Bench-pass-12345");
    noteBox.setPlainText("基准测试的备注 a note for the benchmark");
    figures.add.program.push_back(TimeHandler([&] { w.Button1Click(); }));
    Expect(listing.count() == plan.records + 1, "the add lists the new record");

    const auto& rows = listing.rows();
    const auto newest = std::max_element(
        rows.begin(), rows.end(), [](const auto& a, const auto& b) { return std::stoll(a[0]) < std::stoll(b[0]); });
    Expect((*newest)[3] == plan.added.title, "the newest record is the one added");
    grid.setCurrentIndex(listing.index(static_cast<int>(newest - rows.begin()), 0));
    w.DBGrid1CellClick();
    passwordBox.setText("Bench-pass-changed");
    QApplication::processEvents();
    figures.modify.program.push_back(TimeHandler([&] { w.Button2Click(); }));
    const auto& relisted = listing.rows();
    const auto changed = std::max_element(relisted.begin(), relisted.end(), [](const auto& a, const auto& b) {
      return std::stoll(a[0]) < std::stoll(b[0]);
    });
    grid.setCurrentIndex(listing.index(static_cast<int>(changed - relisted.begin()), 0));
    QApplication::processEvents();
    session.dialogs.confirmAnswers.push_back(true);
    figures.remove.program.push_back(TimeHandler([&] { w.Button3Click(); }));
    Expect(listing.count() == plan.records, "the delete drops the record");
  }

  QString from = categoryList.item(categoryList.count() / 2)->text();
  QString to = from + "改名";
  for (int r = 0; r < options.repeats; ++r) {
    categoryBox.setCurrentIndex(categoryBox.findText(from));
    session.dialogs.inputAnswers.push_back(to);
    figures.rename.program.push_back(TimeHandler([&] { w.N4Click(); }));
    Expect(categoryList.findItems(to, Qt::MatchFixedString).size() == 1 &&
               categoryList.findItems(from, Qt::MatchFixedString).isEmpty(),
           "the rename changes the category list");
    std::swap(from, to);
  }
  plan.renameFrom = Text(from);
  plan.renameTo = Text(to);
  figures.programPeakMb = PeakResidentMegabytes();
}

void MeasureEngine(const Options& options, const Plan& plan, Figures& figures) {
  const std::string path = Text(options.folder) + "_.udb";
  const std::string byUsage = store::sql::SelectAllByUsage();
  std::unique_ptr<RawEngine> engine;
  for (int r = 0; r < options.repeats; ++r) {
    engine.reset();
    // Opening and keying, the start-up check's two reads, and the three listings of a login.
    figures.start.engine.push_back(Milliseconds([&] {
      engine = std::make_unique<RawEngine>(path);
      engine->run(store::sql::SelectDatabaseKey());
      engine->run(store::sql::SelectMasterPassword());
      for (int i = 0; i < 3; ++i) engine->run(byUsage);
    }));
  }
  RawEngine& e = *engine;
  Expect(e.run(byUsage) == plan.records, "the engine sees the program's records");

  for (int r = 0; r < options.repeats; ++r) figures.refresh.engine.push_back(Milliseconds([&] { e.run(byUsage); }));
  for (int r = 0; r < options.repeats; ++r) {
    figures.rebuild.engine.push_back(Milliseconds([&] {
      e.run(byUsage);
      e.run(byUsage);
    }));
  }
  for (const std::string& number : plan.pickedNumbers)
    figures.pick.engine.push_back(Milliseconds([&] { e.run(store::sql::CountUse(number)); }));

  const std::string titleSearch = store::sql::SelectLike("标题", Text(kTitleKeyword));
  const std::string noteHits = store::sql::SelectRecordsNumbered(plan.noteHits);
  for (int r = 0; r < options.repeats; ++r) {
    figures.titleSearch.engine.push_back(Milliseconds([&] { e.run(titleSearch); }));
    figures.noteSearch.engine.push_back(Milliseconds([&] {
      e.run(store::sql::SelectNotes());
      e.run(noteHits);
    }));
  }

  const std::string insert = store::sql::InsertRecord(plan.added);
  for (int r = 0; r < options.repeats; ++r) {
    figures.add.engine.push_back(Milliseconds([&] {
      e.run(insert);
      e.run(byUsage);
    }));
    const std::int64_t number = e.lastInsertedNumber();
    store::sql::NewRecord changed = plan.added;
    changed.passwordCipher = plan.added.noteCipher;
    const std::vector<std::string> update = store::sql::UpdateRecordLines(changed, std::to_string(number));
    std::string modify;
    for (const std::string& line : update) modify += line + "\n";
    figures.modify.engine.push_back(Milliseconds([&] {
      e.run(modify);
      e.run(byUsage);
    }));
    figures.remove.engine.push_back(Milliseconds([&] { e.deleteRecord(number); }));
  }

  std::string from = plan.renameFrom, to = plan.renameTo;
  for (int r = 0; r < options.repeats; ++r) {
    const std::vector<std::string> lines = store::sql::RenameCategoryLines(to, from);
    const std::string rename = lines[0] + "\n" + lines[1];
    figures.rename.engine.push_back(Milliseconds([&] {
      e.run(rename);
      for (int i = 0; i < 3; ++i) e.run(byUsage);
    }));
    std::swap(from, to);
  }
  Expect(e.bytesRead() > 0, "the engine read the rows");
  figures.enginePeakMb = PeakResidentMegabytes();
}

// The same file protected with the cheapest key costs, so that the login's derivation is next
// to nothing and the times show what the protected file itself costs.
struct ProtectedFigures {
  QTemporaryDir folder;
  std::vector<double> start, refresh;
  double derivationMs = 0;
};

void MakeProtectedCopy(const Options& options, ProtectedFigures& figures) {
  const QString copy = figures.folder.path() + "/";
  Expect(QFile::copy(options.folder + "_.udb", copy + "_.udb"), "the file copies");
  vault::Vault vault;
  vault.open(copy, crypto::kTestKeyParameters);
  vault.protectFile(options.master);
  Expect(vault.fileIsProtected(), "the copy is protected");
}

void MeasureProtected(const Options& options, const Plan& plan, ProtectedFigures& figures) {
  ProgramSession session(figures.folder.path() + "/", options.master, crypto::kTestKeyParameters);
  for (int r = 0; r < options.repeats; ++r) {
    session.stop();
    figures.start.push_back(Milliseconds([&] { session.start(); }));
  }
  app::TForm1& w = session.main();
  vault::Listing& listing = w.vault().listing();
  Expect(w.vault().isProtected() && listing.rowCount() == plan.records, "the protected copy lists every record");
  for (int r = 0; r < options.repeats; ++r) figures.refresh.push_back(TimeHandler([&] { w.Button_RefreshClick(); }));
  Expect(listing.rowCount() == plan.records, "the protected refresh lists every record");

  const crypto::KeySalt salt = crypto::NewKeySalt(crypto::kFileKeyParameters);
  figures.derivationMs =
      Milliseconds([&] { crypto::DeriveFileKey(Text(options.master), salt, crypto::kFileKeyParameters); });
}

void ReportProtected(Figures& figures, const ProtectedFigures& protectedFigures) {
  std::printf("\nprotected copy (cheapest key costs: no derivation to speak of) against the fixed-key file\n\n");
  std::printf("| operation | protected ms | fixed-key ms | ratio | target |\n|---|---:|---:|---:|---|\n");
  auto row = [](const Operation& fixed, const std::vector<double>& protectedTimes) {
    const double program = Median(protectedTimes);
    const double fixedKey = Median(fixed.program);
    const double ratio = program / fixedKey;
    std::printf("| %s | %.2f | %.2f | %.2f | ratio <= %.1f: %s |\n", fixed.name.c_str(), program, fixedKey, ratio,
                kProtectedRatioTarget, ratio <= kProtectedRatioTarget ? "met" : "MISSED");
  };
  row(figures.start, protectedFigures.start);
  row(figures.refresh, protectedFigures.refresh);
  std::printf("one key derivation at the program's costs (%u KiB, %u passes, %u lanes): %.0f ms\n",
              crypto::kFileKeyParameters.memoryKiB, crypto::kFileKeyParameters.passes, crypto::kFileKeyParameters.lanes,
              protectedFigures.derivationMs);
}

void Report(const Options& options, const Plan& plan, Figures& figures) {
  std::printf("keyhaven main window, %d records in %s_.udb, median of %d runs (picks: %zu)\n\n", plan.records,
              Text(options.folder).c_str(), options.repeats, plan.pickedNumbers.size());
  std::printf("| operation | program ms | engine ms | ratio | target |\n|---|---:|---:|---:|---|\n");
  for (Operation* operation : figures.all()) {
    const double program = Median(operation->program);
    const double engine = Median(operation->engine);
    const double ratio = program / engine;
    std::string target = "ratio <= 3: " + std::string(ratio <= kRatioTarget ? "met" : "MISSED");
    if (operation->limitMs > 0) {
      char limit[64];
      std::snprintf(limit, sizeof limit, "; < %.0f ms: %s", operation->limitMs,
                    program < operation->limitMs ? "met" : "MISSED");
      target += limit;
    }
    std::printf("| %s | %.2f | %.2f | %.2f | %s |\n", operation->name.c_str(), program, engine, ratio, target.c_str());
  }
  std::printf("\nnote search: %zu hits; the program deciphers every note, the engine only reads them\n",
              plan.noteHits.size());
  std::printf(
      "peak resident memory: %.1f MB after the program's operations (target < %.0f MB: %s), %.1f MB at the end\n",
      figures.programPeakMb, kMemoryTargetMb, figures.programPeakMb < kMemoryTargetMb ? "met" : "MISSED",
      figures.enginePeakMb);
}

// The offscreen platform says at every login that it cannot raise a window; that is no news.
void QuietRaiseWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.contains("does not support raise()")) return;
  std::cerr << qPrintable(qFormatLogMessage(type, context, text)) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietRaiseWarnings);
  QApplication application(argc, argv);
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::cerr << kUsage << '\n';
    return 2;
  }
  try {
    Figures figures;
    Plan plan;
    ProtectedFigures protectedFigures;
    MakeProtectedCopy(options, protectedFigures);  // before the program's edits: the very same records
    MeasureProgram(options, figures, plan);
    MeasureEngine(options, plan, figures);
    MeasureProtected(options, plan, protectedFigures);
    Report(options, plan, figures);
    ReportProtected(figures, protectedFigures);
  } catch (const std::exception& error) {
    std::cerr << "app_bench: " << error.what() << '\n';
    return 1;
  }
  return 0;
}

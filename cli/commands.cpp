#include "cli/commands.h"

#include <QHash>
#include <functional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/clip_hold.h"
#include "cli/history_commands.h"
#include "cli/record_lookup.h"
#include "cli/record_output.h"
#include "cli/session.h"
#include "cli/terminal_input.h"
#include "cli/terminal_text.h"
#include "cli/transfer_commands.h"
#include "crypto/password_generator.h"
#include "settings/settings_file.h"
#include "vault/categories.h"
#include "vault/record_checks.h"

namespace cli {

namespace {

const QStringList kSearchFields = {"标题", "网址", "帐号", "备注"};

// The generator's choice from Config.ini, with the command's length and symbols.
QString Generate(const QString& folder, const QString& length, bool withSymbols) {
  crypto::PasswordRules rules = settings::SettingsFile(folder).read().generator;
  if (!length.isEmpty()) {
    bool number = false;
    rules.length = length.toInt(&number);
    if (!number || rules.length < crypto::PasswordRules::kShortest || rules.length > crypto::PasswordRules::kLongest)
      throw UsageError(QString("密码长度须在 %1 到 %2 之间.")
                           .arg(crypto::PasswordRules::kShortest)
                           .arg(crypto::PasswordRules::kLongest));
  }
  rules.symbols = rules.symbols && withSymbols;
  try {
    return QString::fromStdString(crypto::GeneratePassword(rules));
  } catch (const std::invalid_argument&) {
    throw Failure("密码生成器没有可用的字符类别.");
  }
}

QString Answer(TerminalInput& input, const QString& prompt, bool hidden = false) {
  return input.ask(prompt, hidden).value_or(QString());
}

// The window's checks of a typed record; the category must be one that exists.
void CheckTypedRecord(vault::Vault& vault, vault::Record& record) {
  record.category = ExistingCategory(vault, record.category);
  if (QString missing = vault::MissingField(record); !missing.isEmpty()) throw Failure(missing);
  if (QString refusal = vault::UncarriedCharacter(record); !refusal.isEmpty()) throw Failure(refusal);
}

ExitCode List(const Invocation& invocation, Session& session) {
  vault::Vault& vault = session.vault();
  if (invocation.has("--categories")) {
    if (!invocation.arguments.isEmpty()) throw UsageError("--categories 不带分类名.\n" + HelpText("ls"));
    vault.listByUsage();
    // Counted on the stored bytes, then merged where names differ only in letter case.
    std::unordered_map<std::string, int> perName;
    for (const auto& row : vault.listing().rows()) ++perName[row[1]];
    QHash<QString, int> perFolded;
    for (const auto& [name, count] : perName) perFolded[vault::CategoryIdentity(QString::fromStdString(name))] += count;
    const QStringList names = vault.categoriesOfListing();
    std::vector<int> counts;
    for (const QString& name : names) counts.push_back(perFolded.value(vault::CategoryIdentity(name)));
    PrintCategories(names, counts);
    return kSuccess;
  }
  if (invocation.arguments.isEmpty()) {
    vault.listByUsage();
  } else if (vault.listCategory(invocation.arguments[0]) == 0) {
    throw UsageError("对不起该分类下还没有信息");
  }
  PrintListing(vault.listing());
  return kSuccess;
}

ExitCode Show(const Invocation& invocation, Session& session) {
  const int row = FindRecord(session.vault(), invocation.arguments[0]);
  PrintRecord(session.vault().listedRecord(row), invocation.has("--reveal"));
  return kSuccess;
}

ExitCode Search(const Invocation& invocation, Session& session) {
  const QString field = invocation.values.value("--field", kSearchFields[0]);
  if (!kSearchFields.contains(field)) throw UsageError("--field 只能是 " + kSearchFields.join("|") + ".");
  const QString& keyword = invocation.arguments[0];
  if (keyword.isEmpty()) throw UsageError("请输入搜索关键词！");
  if (session.vault().listMatching(field, keyword) == 0) throw UsageError("对不起没有找到相关信息！");
  PrintListing(session.vault().listing());
  return kSuccess;
}

ExitCode Clip(const Invocation& invocation, Session& session) {
  vault::Vault& vault = session.vault();
  const vault::Record record = vault.listedRecord(FindRecord(vault, invocation.arguments[0]));
  const bool account = invocation.has("--account");
  const int seconds = settings::SettingsFile(session.folder()).read().clipboardSeconds;
  vault.countUse(record.number);  // a pick in the window counts the same way
  PrintLine(QString("已复制%1, %2 秒后清空剪贴板 (Ctrl+C 立即清空).").arg(account ? "帐号" : "密码").arg(seconds));
  HoldOnClipboard(account ? record.account : record.password, seconds);
  PrintLine("剪贴板已清空.");
  return kSuccess;
}

ExitCode Add(const Invocation& invocation, Session& session, TerminalInput& input) {
  vault::Record record;
  record.category = Answer(input, "分类: ");
  record.title = Answer(input, "标题: ");
  record.address = Answer(input, "网址: ");
  record.account = Answer(input, "帐号: ");
  const bool generated = invocation.has("--generate");
  record.password = generated ? Generate(session.folder(), invocation.values.value("--generate"), true)
                              : Answer(input, "密码: ", true);
  record.note = Answer(input, "备注: ");
  CheckTypedRecord(session.vault(), record);
  session.vault().addRecord(record);
  PrintLine("添加成功.");
  return kSuccess;
}

ExitCode Edit(const Invocation& invocation, Session& session, TerminalInput& input) {
  vault::Vault& vault = session.vault();
  vault::Record record = vault.listedRecord(FindRecord(vault, invocation.arguments[0]));
  // An empty answer keeps the field as it is.
  const auto change = [&](QString& field, const QString& name, bool hidden = false) {
    const QString shown = hidden ? QString("回车保留原密码") : ForTerminal(field);
    if (QString typed = Answer(input, name + " [" + shown + "]: ", hidden); !typed.isEmpty()) field = typed;
  };
  change(record.category, "分类");
  change(record.title, "标题");
  change(record.address, "网址");
  change(record.account, "帐号");
  if (invocation.has("--generate"))
    record.password = Generate(session.folder(), invocation.values.value("--generate"), true);
  else
    change(record.password, "密码", true);
  change(record.note, "备注");
  CheckTypedRecord(vault, record);
  if (vault.modifyRecord(record) == 0) throw Failure("该记录已不存在,修改未保存.");
  PrintLine("修改成功.");
  return kSuccess;
}

ExitCode Remove(const Invocation& invocation, Session& session) {
  vault::Vault& vault = session.vault();
  const int row = FindRecord(vault, invocation.arguments[0]);
  const vault::Record record = vault.listedRecord(row);
  if (!invocation.has("--yes")) {
    const std::optional<bool> yes = ConfirmOnTerminal("您真的要删除该记录吗?\n" + record.number + "\t" +
                                                      ForTerminal(record.title) + " / " + ForTerminal(record.account));
    if (!yes) throw UsageError("没有终端可以确认删除, 请加 --yes.");
    if (!*yes) throw Failure("未删除.");
  }
  vault.deleteRecord(record.number, row);
  return kSuccess;
}

ExitCode GeneratePrinted(const Invocation& invocation) {
  const QString length = invocation.arguments.value(0);
  PrintLine(Generate(LocateDatabase(invocation.database).folder, length, !invocation.has("--no-symbols")));
  return kSuccess;
}

}  // namespace

ExitCode RunCommand(const Invocation& invocation) {
  const QString& command = invocation.command;
  if (command == "generate") return GeneratePrinted(invocation);
  using OnSession = ExitCode (*)(const Invocation&, Session&, TerminalInput&);
  // A name missing here is refused before the master password is asked, never run as another command.
  static const std::unordered_map<std::string, OnSession> kCommands = {
      {"ls", [](const Invocation& i, Session& s, TerminalInput&) { return List(i, s); }},
      {"show", [](const Invocation& i, Session& s, TerminalInput&) { return Show(i, s); }},
      {"search", [](const Invocation& i, Session& s, TerminalInput&) { return Search(i, s); }},
      {"clip", [](const Invocation& i, Session& s, TerminalInput&) { return Clip(i, s); }},
      {"add", Add},
      {"edit", Edit},
      {"rm", [](const Invocation& i, Session& s, TerminalInput&) { return Remove(i, s); }},
      {"history", [](const Invocation& i, Session& s, TerminalInput&) { return History(i, s); }},
      {"trash", [](const Invocation&, Session& s, TerminalInput&) { return Trash(s); }},
      {"restore", [](const Invocation& i, Session& s, TerminalInput&) { return Restore(i, s); }},
      {"import", [](const Invocation& i, Session& s, TerminalInput&) { return Import(i, s); }},
      {"export", [](const Invocation& i, Session& s, TerminalInput&) { return Export(i, s); }},
  };
  const auto found = kCommands.find(command.toStdString());
  if (found == kCommands.end()) throw UsageError("未知的命令 " + command + ".");
  TerminalInput input;
  Session session(LocateDatabase(invocation.database), input);
  return found->second(invocation, session, input);
}

}  // namespace cli

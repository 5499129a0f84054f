#include "cli/arguments.h"

#include <QRegularExpression>

#include "cli/cli_error.h"
#include "cli/command_registry.h"

namespace cli {

namespace {

QString UsageLine(const Command& command) { return QString("用法: keyhaven-cli [--db 路径] ") + command.usage; }

bool IsNumber(const QString& word) {
  static const QRegularExpression digits("^[0-9]+$");
  return digits.match(word).hasMatch();
}

}  // namespace

Invocation ParseArguments(const QStringList& arguments) {
  Invocation invocation;
  const Command* command = nullptr;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& word = arguments[i];
    const auto usage = [&](const QString& reason) {
      return UsageError(reason + "\n" + (command ? UsageLine(*command) : HelpText(QString())));
    };
    if (word == "--help" || word == "-h") {
      invocation.help = true;
    } else if (word == "--version" && !(command && command->valued.contains(word))) {  // restore's own option
      invocation.version = true;
    } else if (word == "--db") {
      if (++i >= arguments.size() || arguments[i].isEmpty()) throw usage("--db 需要一个数据库文件的路径.");
      invocation.database = arguments[i];
    } else if (word.startsWith("--") && command) {
      if (command->flags.contains(word)) {
        invocation.flags << word;
      } else if (command->valued.contains(word)) {
        if (++i >= arguments.size()) throw usage(word + " 需要一个值.");
        invocation.values[word] = arguments[i];
      } else if (command->optionalNumber.contains(word)) {
        const bool numberFollows = i + 1 < arguments.size() && IsNumber(arguments[i + 1]);
        invocation.values[word] = numberFollows ? arguments[++i] : QString();
      } else {
        throw usage("未知的选项 " + word + ".");
      }
    } else if (word.startsWith("-") && word.size() > 1 && !command) {
      throw usage("未知的选项 " + word + ".");
    } else if (!command) {
      command = FindCommand(word);
      if (!command) throw usage("未知的命令 " + word + ".");
      invocation.command = word;
    } else {
      invocation.arguments << word;
    }
  }
  if (invocation.help || invocation.version) return invocation;
  if (!command) throw UsageError(HelpText(QString()));
  const auto count = invocation.arguments.size();
  if (count < command->fewestArguments || count > command->mostArguments)
    throw UsageError(count < command->fewestArguments ? "参数不足.\n" + UsageLine(*command)
                                                      : "参数过多.\n" + UsageLine(*command));
  return invocation;
}

QString HelpText(const QString& name) {
  if (const Command* command = FindCommand(name)) return UsageLine(*command) + "\n" + command->description + "\n";
  QString text =
      "用法: keyhaven-cli [--db 路径] 命令 [参数] [选项]\n"
      "管理密码在终端上不回显地输入; 标准输入不是终端时, 其第一行为管理密码.\n"
      "--db 路径: 使用该数据库文件, 以及其所在文件夹的 Config.ini 和备份.\n\n命令:\n";
  for (const Command* command : Commands()) text += QString("  ") + command->usage + "\n";
  text +=
      "\nkeyhaven-cli 命令 --help 显示该命令的说明; --version 显示版本.\n"
      "退出码: 0 成功, 1 错误, 2 用法错误、未找到或不唯一.\n";
  return text;
}

}  // namespace cli

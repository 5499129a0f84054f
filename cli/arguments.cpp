#include "cli/arguments.h"

#include <QRegularExpression>
#include <vector>

#include "cli/cli_error.h"

namespace cli {

namespace {

struct CommandGrammar {
  const char* name;
  int fewestArguments;
  int mostArguments;
  QStringList flags;
  QStringList valued;          // the next word is the value
  QStringList optionalNumber;  // takes the next word only when it is a number
  const char* usage;
  const char* description;
};

const std::vector<CommandGrammar>& Grammar() {
  static const std::vector<CommandGrammar> grammar = {
      {"ls",
       0,
       1,
       {"--categories"},
       {},
       {},
       "ls [分类] | ls --categories",
       "按使用次数列出记录, 每行: 编号、分类、标题、帐号, 以制表符分隔; --categories 列出分类及其记录数."},
      {"show",
       1,
       1,
       {"--reveal"},
       {},
       {},
       "show 编号或标题 [--reveal]",
       "显示一条记录: 数字为编号, 否则为标题中包含该词的唯一记录; 密码显示为 ******, 除非加 --reveal."},
      {"clip",
       1,
       1,
       {"--account"},
       {},
       {},
       "clip [--account] 编号或标题",
       "把密码(或帐号)复制到剪贴板, 计一次使用, 在设定的秒数后或按 Ctrl+C 时清空剪贴板."},
      {"search",
       1,
       1,
       {},
       {"--field"},
       {},
       "search [--field 标题|网址|帐号|备注] 关键词",
       "列出所选字段包含关键词的记录(默认 标题), 格式同 ls."},
      {"add",
       0,
       0,
       {},
       {},
       {"--generate"},
       "add [--generate [长度]]",
       "添加记录: 依次询问分类、标题、网址、帐号、密码、备注; 没有终端时从管理密码之后的各行读取.\n"
       "--generate 用密码生成器的设置生成密码(不读密码那一行)."},
      {"edit",
       1,
       1,
       {},
       {},
       {"--generate"},
       "edit 编号或标题 [--generate [长度]]",
       "修改记录: 依次询问各字段, 空行保留原值; 没有终端时从管理密码之后的各行读取."},
      {"rm", 1, 1, {"--yes"}, {}, {}, "rm 编号或标题 [--yes]", "删除一条记录; 在终端上询问 y/N, --yes 直接回答是."},
      {"history",
       1,
       1,
       {"--reveal"},
       {},
       {},
       "history 编号或标题 [--reveal]",
       "列出一条记录的历史版本, 最新的在前: 版本号和时间, 然后各字段; 密码显示为 ******, 除非加 --reveal."},
      {"trash",
       0,
       0,
       {},
       {},
       {},
       "trash",
       "列出最近删除的记录, 每行: 编号(供 restore --deleted 用)、删除时间、分类、标题、帐号."},
      {"restore",
       0,
       1,
       {"--yes"},
       {"--version", "--deleted"},
       {},
       "restore 编号或标题 --version 版本号 [--yes] | restore --deleted 编号 [--yes]",
       "用一个历史版本替换记录(当前内容先存为一个版本), 或恢复一条最近删除的记录; 在终端上询问 y/N, --yes 直接回答是."},
      {"generate", 0, 1, {"--no-symbols"}, {}, {}, "generate [长度] [--no-symbols]", "用密码生成器生成一个密码并打印."},
      {"import",
       1,
       1,
       {"--yes"},
       {},
       {},
       "import 文件 [--yes]",
       "导入 CSV 文件(KeePassXC、Bitwarden、Chrome/Chromium、Firefox), 之前备份数据库."},
      {"export", 1, 1, {"--yes"}, {}, {}, "export 文件 [--yes]", "把全部记录导出为 CSV 文件(含明文密码)."},
  };
  return grammar;
}

const CommandGrammar* Find(const QString& name) {
  for (const CommandGrammar& command : Grammar())
    if (name == command.name) return &command;
  return nullptr;
}

QString UsageLine(const CommandGrammar& command) { return QString("用法: keyhaven-cli [--db 路径] ") + command.usage; }

bool IsNumber(const QString& word) {
  static const QRegularExpression digits("^[0-9]+$");
  return digits.match(word).hasMatch();
}

}  // namespace

Invocation ParseArguments(const QStringList& arguments) {
  Invocation invocation;
  const CommandGrammar* command = nullptr;
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
      command = Find(word);
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
  if (const CommandGrammar* command = Find(name)) return UsageLine(*command) + "\n" + command->description + "\n";
  QString text =
      "用法: keyhaven-cli [--db 路径] 命令 [参数] [选项]\n"
      "管理密码在终端上不回显地输入; 标准输入不是终端时, 其第一行为管理密码.\n"
      "--db 路径: 使用该数据库文件, 以及其所在文件夹的 Config.ini 和备份.\n\n命令:\n";
  for (const CommandGrammar& command : Grammar()) text += QString("  ") + command.usage + "\n";
  text +=
      "\nkeyhaven-cli 命令 --help 显示该命令的说明; --version 显示版本.\n"
      "退出码: 0 成功, 1 错误, 2 用法错误、未找到或不唯一.\n";
  return text;
}

}  // namespace cli

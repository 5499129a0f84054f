#pragma once
// The command line: keyhaven-cli [--db PATH] COMMAND [ARGS] [OPTIONS], options anywhere after
// the command's name, and each command's help.
#include <QMap>
#include <QString>
#include <QStringList>

namespace cli {

struct Invocation {
  QString database;  // --db PATH; empty: the data folder of the program
  QString command;   // empty when only --help or --version was asked for
  QStringList arguments;
  QStringList flags;              // options without a value, such as "--reveal"
  QMap<QString, QString> values;  // options with a value; an optional one left out holds ""
  bool help = false;
  bool version = false;

  bool has(const QString& option) const { return flags.contains(option) || values.contains(option); }
};

// Throws CliError (kUsage) with the reason and the command's usage line.
Invocation ParseArguments(const QStringList& arguments);

// The help of a command, or of the whole program for an empty name.
QString HelpText(const QString& command);

}  // namespace cli

#include "app/program_folder.h"

#include <QCoreApplication>

QString ProgramFolder() { return QCoreApplication::applicationDirPath() + "/"; }

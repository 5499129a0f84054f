#pragma once
#include <QString>

// The folder of the executable, ending in '/': _.udb, Config.ini and the backups live there.
QString ProgramFolder();

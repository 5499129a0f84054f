#pragma once
#include <QIcon>

// The program's icon, drawn at any size: a gold key on a blue ground.
QIcon ProgramIcon();

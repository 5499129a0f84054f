#pragma once
#include <QIcon>

namespace app {

// The program's icon, drawn at any size: a gold key on a blue ground.
QIcon ProgramIcon();

}  // namespace app

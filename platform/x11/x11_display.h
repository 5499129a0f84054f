#pragma once
// Whether the X server named by DISPLAY answers, asked before Qt's graphical application is made:
// Qt ends the process outright when it cannot reach the display.
namespace platform::x11 {

bool DisplayAnswers();

}  // namespace platform::x11

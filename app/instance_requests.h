#pragma once
// What another start of the program asks of the running one: to come to the front (a plain second
// start) or to fill (keyhaven --fill account|password), and what it answers.
#include <string>

namespace login {
class TForm2;
}  // namespace login

namespace app {

class TForm1;

// The running instance's answer to one request, carried out by its windows.
std::string AnswerInstanceRequest(TForm1& main, login::TForm2& login, const std::string& request);

// A plain second start: the running instance brings its window, or its login window while locked,
// to the front. Gives whether it answered.
bool AskToShow(const std::string& socketPath);

// keyhaven --fill account|password: the running instance fills as its hot key does. One Chinese
// line on stderr when it cannot; the exit code (0: filled).
int RunFillCommand(const std::string& socketPath, const std::string& which);

}  // namespace app

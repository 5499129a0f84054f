#pragma once
// What another start of the program asks of the running one: to come to the front (a plain second
// start) or to fill (keyhaven --fill account|password), and what it answers.
#include <functional>
#include <string>

namespace login {
class TForm2;
}  // namespace login

namespace app {

class TForm1;

// The running instance's answer to one request, carried out by its windows: a fill answers once it
// has ended, "done" when the value was entered, else the word of its outcome.
void AnswerInstanceRequest(TForm1& main, login::TForm2& login, const std::string& request,
                           const std::function<void(const std::string& answer)>& reply);

// A plain second start: the running instance brings its window, or its login window while locked,
// to the front. Gives whether it answered.
bool AskToShow(const std::string& socketPath);

// keyhaven --fill account|password: the running instance fills as its hot key does. One Chinese
// line on stderr when nothing was entered, and why; the exit code (0: entered).
int RunFillCommand(const std::string& socketPath, const std::string& which);

}  // namespace app

#pragma once
// Reads a recorded key-event sequence back as the text a US keyboard would produce.
#include <QString>
#include <vector>

#include "tests/fakes/fake_key_sink.h"

namespace input_test {

// The typed text; a key that types nothing on a US layout, or any Ctrl or Alt, yields '\uFFFD'.
QString DecodeUsTyping(const std::vector<fakes::KeyEvent>& events);

}  // namespace input_test

// Message boxes in the tests, benchmarks and tools that drive the game: none
// is ever put on screen. Each is recorded and answered from the script, or
// with its default button once the script has run out (see testing.h).
#include "platform/message_box.h"
#include "platform/testing.h"
#include <deque>

namespace platform::testing {

namespace {
std::deque<Answer> script;
std::vector<ShownBox> shown;

Answer scriptedAnswer(Buttons buttons) {
    if (script.empty()) return buttons == Buttons::yesNo ? Answer::yes : Answer::ok;
    Answer a = script.front();
    script.pop_front();
    return a;
}
}  // namespace

void scriptAnswers(std::vector<Answer> answers) { script.assign(answers.begin(), answers.end()); }

const std::vector<ShownBox>& shownBoxes() { return shown; }

void forgetShownBoxes() { shown.clear(); }

}  // namespace platform::testing

platform::Answer platform::messageBox(const char* text, const char* caption, Buttons buttons, Icon icon) {
    Answer a = testing::scriptedAnswer(buttons);
    testing::shown.push_back({text, caption, buttons, icon, a});
    return a;
}

#include "platform/backend.h"
#include "platform/message_box.h"
#include "platform/testing.h"
#include <cstdio>
#include <deque>

namespace platform {

namespace {
bool testMode = false;
std::deque<Answer> script;
std::vector<testing::ShownBox> shown;

Answer defaultAnswer(Buttons buttons) { return buttons == Buttons::yesNo ? Answer::yes : Answer::ok; }

const char* answerName(Answer a) { return a == Answer::yes ? "Yes" : a == Answer::no ? "No" : "OK"; }

Answer scriptedAnswer(Buttons buttons) {
    if (script.empty()) return defaultAnswer(buttons);
    Answer a = script.front();
    script.pop_front();
    return a;
}
}  // namespace

Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon) {
    if (testMode) {
        Answer a = scriptedAnswer(buttons);
        shown.push_back({text, caption, buttons, icon, a});
        return a;
    }
    backend::leaveFullScreenForBox();
    Answer a;
    if (backend::showMessageBox(text, caption, buttons, icon, a)) return a;
    a = defaultAnswer(buttons);
    std::fprintf(stderr, "%s: %s\n(no message box could be shown; answered %s)\n", caption, text, answerName(a));
    return a;
}

namespace testing {

void enterTestMode() { testMode = true; }

void scriptAnswers(std::vector<Answer> answers) { script.assign(answers.begin(), answers.end()); }

const std::vector<ShownBox>& shownBoxes() { return shown; }

void forgetShownBoxes() { shown.clear(); }

}  // namespace testing
}  // namespace platform

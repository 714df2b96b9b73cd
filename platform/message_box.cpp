#include "platform/backend.h"
#include "platform/message_box.h"
#include <cstdio>

namespace platform {

namespace {

Answer defaultAnswer(Buttons buttons) { return buttons == Buttons::yesNo ? Answer::yes : Answer::ok; }

const char* answerName(Answer a) { return a == Answer::yes ? "Yes" : a == Answer::no ? "No" : "OK"; }

}  // namespace

Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon) {
    backend::leaveFullScreenForBox();
    Answer a;
    if (backend::showMessageBox(text, caption, buttons, icon, a)) return a;
    a = defaultAnswer(buttons);
    std::fprintf(stderr, "%s: %s\n(no message box could be shown; answered %s)\n", caption, text, answerName(a));
    return a;
}

}  // namespace platform

#include "platform/backend.h"
#include "platform/messages.h"
#include <deque>
#include <utility>

namespace platform {

namespace {
std::deque<Message> queue;

constexpr uint8_t keyF4 = 115;

MessageWatcher watcher;
MessageSource source;
}  // namespace

bool takeWaitingMessage(Message& out) {
    if (queue.empty()) return false;
    out = queue.front();
    queue.pop_front();
    return true;
}

void pumpWindowMessages() { backend::pumpEvents(); }

bool peekMessage(Message& out) {
    if (source) return source(out);
    if (queue.empty()) pumpWindowMessages();
    bool taken = takeWaitingMessage(out);
    if (taken && watcher) watcher(out);
    return taken;
}

void setMessageWatcher(MessageWatcher w) { watcher = std::move(w); }
void setMessageSource(MessageSource s) { source = std::move(s); }

void postMessage(const Message& message) { queue.push_back(message); }

void postQuitMessage(int exitCode) {
    postMessage({MessageKind::quit, uintptr_t(uint32_t(exitCode)), 0});
}

intptr_t dispatchMessage(const Message& message) {
    WindowProcedure procedure = backend::registeredProcedure();
    return procedure ? procedure(message) : 0;
}

intptr_t defaultWindowProcedure(const Message& message) {
    switch (message.kind) {
    case MessageKind::sysCommand:
        if (message.wParam == command::screenSave || message.wParam == command::monitorPower)
            backend::allowScreenSaver(true);
        else if (message.wParam == command::close)
            postMessage({MessageKind::close, 0, 0});
        return 0;
    case MessageKind::sysKeyDown:
        // Alt+F4 asks to close the window, as on every desktop.
        if (message.wParam == keyF4 && (message.lParam & keyBit::altDown))
            postMessage({MessageKind::sysCommand, command::close, 0});
        return 0;
    default:
        return 0;
    }
}

}  // namespace platform

// Messages the tests put in the queue as if the window system had reported
// them, and the queue emptied (see testing.h).
#include "platform/backend.h"
#include "platform/testing.h"

namespace platform::testing {

void injectMessage(const Message& message) { postMessage(message); }

void injectKeyDown(uint8_t virtualKey, bool repeat) {
    injectMessage({MessageKind::keyDown, virtualKey, 1 | (repeat ? keyBit::wasDown : 0)});
}

void injectKeyUp(uint8_t virtualKey) {
    injectMessage({MessageKind::keyUp, virtualKey, 1 | keyBit::wasDown | keyBit::released});
}

void discardMessages() {
    backend::discardEvents();
    Message dropped;
    while (takeWaitingMessage(dropped)) {
    }
}

}  // namespace platform::testing

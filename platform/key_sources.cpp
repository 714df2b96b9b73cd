#include "platform/key_sources.h"
#include <algorithm>
#include <vector>

namespace platform {

namespace {

struct Holding {
    uint8_t key;
    KeySource source;
};
// A handful at most: a list is the simplest set.
std::vector<Holding> holdings;

bool anyHolds(uint8_t key) {
    return std::any_of(holdings.begin(), holdings.end(), [key](const Holding& h) { return h.key == key; });
}

// Removes the holding; false when there was none.
bool forget(uint8_t key, KeySource source) {
    auto at = std::find_if(holdings.begin(), holdings.end(),
                           [&](const Holding& h) { return h.key == key && h.source == source; });
    if (at == holdings.end()) return false;
    holdings.erase(at);
    return true;
}

}  // namespace

void pressKey(uint8_t key, KeySource source, MessageKind kind, intptr_t lParam) {
    if (anyHolds(key)) lParam |= keyBit::wasDown;
    if (!holds(key, source)) holdings.push_back({key, source});
    postMessage({kind, key, lParam});
}

void releaseKey(uint8_t key, KeySource source, MessageKind kind, intptr_t lParam) {
    if (!forget(key, source) && source.device != keyboardDevice) return;
    if (!anyHolds(key)) postMessage({kind, key, lParam});
}

void releaseKey(uint8_t key, KeySource source) {
    releaseKey(key, source, MessageKind::keyUp, 1 | keyBit::wasDown | keyBit::released);
}

void releaseDevice(uint32_t device) {
    std::vector<Holding> held;
    for (const Holding& h : holdings)
        if (h.source.device == device) held.push_back(h);
    for (const Holding& h : held) releaseKey(h.key, h.source);
}

bool holds(uint8_t key, KeySource source) {
    return std::any_of(holdings.begin(), holdings.end(),
                       [&](const Holding& h) { return h.key == key && h.source == source; });
}

bool holdsAny(KeySource source) {
    return std::any_of(holdings.begin(), holdings.end(), [&](const Holding& h) { return h.source == source; });
}

void releaseSource(KeySource source) {
    std::vector<Holding> held;
    for (const Holding& h : holdings)
        if (h.source == source) held.push_back(h);
    for (const Holding& h : held) releaseKey(h.key, h.source);
}

void forgetHoldings() { holdings.clear(); }

}  // namespace platform

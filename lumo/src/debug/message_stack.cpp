#include "debug/message_stack.hpp"

#include <vector>

#include "debug/log.hpp"

namespace lumo {
namespace debug {
namespace {

// One entry: either a borrowed literal or an owned copy. An empty std::string allocates
// nothing, so literal pushes stay allocation-free.
struct Entry {
    const char* literal = nullptr;
    std::string owned;
    const char* text() const { return literal ? literal : owned.c_str(); }
};

struct Stack {
    Stack() { entries.reserve(64); }
    std::vector<Entry> entries;  // oldest first, newest at the back
    std::size_t depth = 0;       // entries beyond depth are spare slots kept for reuse
    // The last removed text: a literal is remembered by pointer, an owned text by copy, so
    // popping a literal costs no copy.
    const char* previousLiteral = "";
    std::string previousOwned;
    bool previousIsLiteral = true;
    void rememberRemoved(const Entry& e) {
        previousIsLiteral = e.literal != nullptr;
        if (previousIsLiteral)
            previousLiteral = e.literal;
        else
            previousOwned = e.owned;
    }
    const char* previous() const {
        return previousIsLiteral ? previousLiteral : previousOwned.c_str();
    }
};

Stack& stack() {
    thread_local Stack s;
    return s;
}

Entry& pushSlot(Stack& s) {
    if (s.depth == s.entries.size())
        s.entries.emplace_back();
    return s.entries[s.depth++];
}

}  // namespace

void addMessage(std::string text) {
    Entry& e = pushSlot(stack());
    e.literal = nullptr;
    e.owned = std::move(text);
}

void addLiteralMessage(const char* text) {
    Entry& e = pushSlot(stack());
    e.literal = text;
    if (!e.owned.empty())
        e.owned.clear();
}

void removeMessage() {
    Stack& s = stack();
    if (s.depth == 0) {
        critical(0, "Stack trace corrupted. Previous message was: \"%s\".", s.previous());
        return;
    }
    s.rememberRemoved(s.entries[--s.depth]);
}

std::string getLatestMessage() {
    Stack& s = stack();
    return s.depth ? std::string(s.entries[s.depth - 1].text()) : std::string();
}

bool popLatestMessage(std::string& out) {
    Stack& s = stack();
    if (s.depth == 0)
        return false;
    out = s.entries[s.depth - 1].text();
    removeMessage();
    return true;
}

std::string previousMessage() {
    return stack().previous();
}

std::size_t messageCount() {
    return stack().depth;
}

const char* latestMessageRaw() {
    Stack& s = stack();
    return s.depth ? s.entries[s.depth - 1].text() : nullptr;
}

const char* popMessageRaw() {
    Stack& s = stack();
    return s.depth ? s.entries[--s.depth].text() : nullptr;
}

}  // namespace debug
}  // namespace lumo

#pragma once
// The message stack: operations push a short text naming themselves on entry and pop it on
// exit, so that the crash handler can print where the program was.
//
// Each thread has its own stack (the music thread pushes while the main thread does), so no
// locking is needed and the traces of two threads never mix. Pushing a literal text stores only
// its pointer: no heap allocation per push once the stack has grown to its working depth.

#include <string>

namespace lumo {
namespace debug {

/// Pushes a copy of `text` on the calling thread's stack.
void addMessage(std::string text);
/// Pushes a text with static storage duration (a literal) without copying it.
void addLiteralMessage(const char* text);
/// Pops the newest text into `previousMessage`; on an empty stack logs
/// "Stack trace corrupted. Previous message was: ..." at critical level in group 0.
void removeMessage();
/// The newest text, or "" when the stack is empty.
std::string getLatestMessage();
/// Pops the newest text into `out` and returns true; false (and `out` untouched) when empty.
bool popLatestMessage(std::string& out);
/// The text most recently removed from the calling thread's stack.
std::string previousMessage();
/// Number of entries on the calling thread's stack.
std::size_t messageCount();

/// Async-signal-tolerant access for the crash handler: the newest text or null, without copying.
const char* latestMessageRaw();
/// Pops without logging or copying; returns the popped text (valid until the next push) or null.
const char* popMessageRaw();

/// Pushes a literal text for the lifetime of the object and pops it on every exit path.
///   MessageScope scope("ControlQueue::readEvents()");
class MessageScope {
  public:
    explicit MessageScope(const char* literal) { addLiteralMessage(literal); }
    ~MessageScope() { removeMessage(); }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;
};

}  // namespace debug
}  // namespace lumo

#pragma once
// Short-lived texts: a Message lives for its time to live, a BlinkMessage also switches between
// shown and hidden phases, and Messages owns a queue of them drawn centred in a rectangle.
// Times are in the unit of the elapsed time handed to perform (milliseconds in the game).
// Main thread only.

#include <GL/gl.h>

#include <list>
#include <string>

#include "lumo/types.hpp"

namespace lumo {
namespace fonts {

class Font;

class Message {
  public:
    Message() = default;
    Message(std::string text, float ttl);
    virtual ~Message() = default;

    /// Counts the time to live down by `elapsed`.
    virtual void perform(float elapsed);
    /// Prints the text aligned in `rect`; nothing without a font.
    virtual void draw(Rect rect, JustificationHorizontal jh, JustificationVertical jv);

    /// Not owned; null until set.
    Font* font = nullptr;
    std::string text;
    /// Remaining time to live; the message is over at 0 or below.
    GLfloat ttl = 0;
};

class BlinkMessage : public Message {
  public:
    /// Shown steadily: with both durations 0 it never blinks.
    BlinkMessage() = default;
    /// Starts in the shown phase; a negative `off` takes the length of `on`.
    BlinkMessage(std::string text, float ttl, float on, float off);

    /// Counts down and flips phases, several times in one long step if need be. Durations of 0
    /// or below count as 0; with both 0 the message stays in its phase.
    void perform(float elapsed) override;
    /// Draws only in the shown phase.
    void draw(Rect rect, JustificationHorizontal jh, JustificationVertical jv) override;

    /// Time left in the current phase.
    GLfloat blinkCounter = 0;
    bool visible = true;
    GLfloat blinkDurationOn = 0;
    GLfloat blinkDurationOff = 0;
};

/// A queue of messages, drawn in insertion order centred in `rect`.
class Messages {
  public:
    Messages() = default;
    /// Destroys the messages.
    ~Messages();
    Messages(const Messages&) = delete;
    Messages& operator=(const Messages&) = delete;

    /// Takes ownership of `m` (null is ignored). Without `multiple`, the messages shown before
    /// are destroyed first. A message without a font gets the queue's `font`.
    Messages& operator+=(Message* m);
    /// Advances every message, then destroys those whose time has run out.
    void perform(float elapsed);
    void draw();
    /// Destroys every message.
    void clear();
    /// Destroys the messages whose time to live is 0 or below.
    void purge();
    const std::list<Message*>& getMessages() const { return messages; }

    Rect rect;
    /// Default font for added messages; not owned.
    Font* font = nullptr;
    /// Whether several messages may stand at once.
    bool multiple = false;

  private:
    std::list<Message*> messages;
};

}  // namespace fonts
}  // namespace lumo

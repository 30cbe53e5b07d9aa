#include "gfx/fonts/messages.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "debug/message_stack.hpp"
#include "gfx/fonts/font.hpp"

namespace lumo {
namespace fonts {

using debug::MessageScope;

Message::Message(std::string text_, float ttl_) : text(std::move(text_)), ttl(ttl_) {}

void Message::perform(float elapsed) {
    MessageScope scope("Message::perform()");
    ttl -= elapsed;
}

void Message::draw(Rect rect, JustificationHorizontal jh, JustificationVertical jv) {
    MessageScope scope("Message::draw()");
    if (font)
        font->print(rect, jh, jv, text.c_str());
}

BlinkMessage::BlinkMessage(std::string text_, float ttl_, float on, float off)
    : Message(std::move(text_), ttl_),
      blinkCounter(on),
      blinkDurationOn(on),
      blinkDurationOff(off < 0 ? on : off) {}

void BlinkMessage::perform(float elapsed) {
    MessageScope scope("BlinkMessage::perform()");
    Message::perform(elapsed);
    blinkCounter -= elapsed;
    const GLfloat on = std::max(blinkDurationOn, 0.0f);
    const GLfloat off = std::max(blinkDurationOff, 0.0f);
    const GLfloat period = on + off;
    if (period <= 0) {
        // Nothing to count through: stay in the current phase.
        blinkCounter = 0;
        return;
    }
    // Whole on-off periods change nothing; skipping them keeps a huge step from looping long.
    if (blinkCounter <= -period)
        blinkCounter = std::fmod(blinkCounter, period);
    while (blinkCounter <= 0) {
        visible = !visible;
        blinkCounter += visible ? on : off;
    }
}

void BlinkMessage::draw(Rect rect, JustificationHorizontal jh, JustificationVertical jv) {
    MessageScope scope("BlinkMessage::draw()");
    if (visible)
        Message::draw(rect, jh, jv);
}

Messages::~Messages() {
    clear();
}

Messages& Messages::operator+=(Message* m) {
    MessageScope scope("Messages::operator+=()");
    if (!m || std::find(messages.begin(), messages.end(), m) != messages.end())
        return *this;
    if (!multiple)
        clear();
    messages.push_back(m);
    if (!m->font)
        m->font = font;
    return *this;
}

void Messages::perform(float elapsed) {
    MessageScope scope("Messages::perform()");
    for (Message* m : messages)
        m->perform(elapsed);
    purge();
}

void Messages::draw() {
    MessageScope scope("Messages::draw()");
    for (Message* m : messages)
        m->draw(rect, jhCenter, jvCenter);
}

void Messages::clear() {
    MessageScope scope("Messages::clear()");
    for (Message* m : messages)
        delete m;
    messages.clear();
}

void Messages::purge() {
    MessageScope scope("Messages::purge()");
    std::vector<Message*> over;
    for (Message* m : messages)
        if (m->ttl <= 0)
            over.push_back(m);
    for (Message* m : over) {
        messages.remove(m);
        delete m;
    }
}

}  // namespace fonts
}  // namespace lumo

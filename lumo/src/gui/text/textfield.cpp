#include "gui/text/textfield.hpp"

#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"
#include "gui/core/utf8.hpp"
#include "gui/styles/font_styles.hpp"
#include "gui/styles/label_style.hpp"
#include "gui/text/label.hpp"

namespace lumo {
namespace gui {

static const ComponentRegistration registration(XML_GUI_TEXTFIELD, &newComponent<Textfield>);

namespace {

const Uint16 BACKSPACE = 8;
const Uint16 RETURN = 13;
/// The key symbol given with repeated characters.
const SDLKey REPEAT_KEY = static_cast<SDLKey>(19);

void keyTiming(const Component* c, float& delay, float& repeat) {
    if (const GUI* root = c->getRoot()) {
        delay = root->getKeyDelay();
        repeat = root->getKeyRepeat();
    } else {
        delay = 300;
        repeat = 30;
    }
}

}  // namespace

Textfield::Textfield() {
    wantsFocus = true;
}

void Textfield::getSelfFromNode(const xml::Node* node, GUI* gui) {
    debug::MessageScope scope("Textfield::getSelfFromNode()");
    Component::getSelfFromNode(node, gui);
    CaptionedObject::getSelfFromNode(node, gui);
    readStyle(node, XML_GUI_STYLE, gui, style);
    readTrigger(node, XML_GUI_TRIGGER_CONFIRM, gui, triggerConfirm);
    const long limit = node->getAttributeLong(XML_GUI_MAXLENGTH, static_cast<long>(maxLength));
    maxLength = limit > 0 ? static_cast<std::size_t>(limit) : 0;
}

void Textfield::drawSelf() {
    if (focused)
        drawCaptioned(style, dimensions, (caption + "_").c_str(), image);
    else
        drawCaptioned(style, dimensions, caption.c_str(), image);
}

bool Textfield::accepts(Uint16 unicode) const {
    if (maxLength > 0 && utf8Length(caption) >= maxLength)
        return false;
    const SimpleFontStyle* fontStyle =
        style ? dynamic_cast<const SimpleFontStyle*>(style->font) : nullptr;
    if (fontStyle && fontStyle->font)
        return fontCanDraw(fontStyle->font, unicode);
    return unicode >= 32 && unicode <= 126;
}

bool Textfield::keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode) {
    debug::MessageScope scope("Textfield::keyDown()");
    float delay, repeat;
    keyTiming(this, delay, repeat);
    if (unicode == BACKSPACE) {
        if (caption.empty()) {
            keydown = 0;
            return true;
        }
        removeLastUtf8(caption);
    } else if (unicode == RETURN) {
        keydown = 0;
        doConfirm(queue);
        return true;
    } else if (unicode >= 32) {
        if (!accepts(unicode))
            return true;
        appendUtf8(caption, unicode);
    } else {
        return Component::keyDown(queue, key, mod, unicode);
    }
    if (keydown != unicode) {
        keydown = unicode;
        repeatTimer = -delay;
    }
    return true;
}

bool Textfield::keyUp(ControlQueue*, SDLKey, SDLMod, Uint16) {
    keydown = 0;
    return true;
}

void Textfield::enter(ControlQueue*, const Vector2D&) {}

void Textfield::leave(ControlQueue*, const Vector2D&) {
    keydown = 0;
}

void Textfield::performSelf(ControlQueue* queue, float elapsed) {
    float delay, repeat;
    keyTiming(this, delay, repeat);
    if (keydown == 0 || repeat <= 0)
        return;
    repeatTimer += elapsed;
    while (keydown != 0 && repeatTimer >= repeat) {
        repeatTimer -= repeat;
        const std::string before = caption;
        keyDown(queue, REPEAT_KEY, KMOD_NONE, keydown);
        if (caption == before)
            break;  // full, or nothing left to remove: more repeats change nothing
    }
}

void Textfield::doConfirm(ControlQueue* queue) {
    fire(queue, triggerConfirm);
}

}  // namespace gui
}  // namespace lumo

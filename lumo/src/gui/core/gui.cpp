#include "gui/core/gui.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <memory>

#include "controls/input_evaluator.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/fonts/font_bank.hpp"
#include "gfx/images/image_bank.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/window_scale.hpp"
#include "gui/styles/button_styles.hpp"
#include "gui/styles/font_styles.hpp"
#include "gui/styles/label_style.hpp"
#include "gui/styles/rect_styles.hpp"
#include "resources/resource_manager.hpp"
#include "sprites/sprites/image_sprite.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

using debug::MessageScope;

const GuiResourceBankGenerator resourceBankGenerator;

BasicResourceBank* GuiResourceBankGenerator::generateBank(const std::string& type) const {
    return type == "gui" ? static_cast<BasicResourceBank*>(new GUI) : nullptr;
}

namespace {

/// A new style for a style element name, or null for any other name.
Style* createStyle(const std::string& elementName) {
    if (elementName == XML_GUI_PLAINRECTSTYLE)
        return new PlainRectStyle;
    if (elementName == XML_GUI_TEXTUREDRECTSTYLE)
        return new TexturedRectStyle;
    if (elementName == XML_GUI_SIMPLEFONTSTYLE)
        return new SimpleFontStyle;
    if (elementName == XML_GUI_LABELSTYLE)
        return new LabelStyle;
    if (elementName == XML_GUI_BUTTONSTYLE)
        return new ButtonStyle;
    if (elementName == XML_GUI_DROPDOWNLISTSTYLE)
        return new DropdownListStyle;
    if (elementName == XML_GUI_CHECKBOXSTYLE)
        return new CheckboxStyle;
    return nullptr;
}

/// An event position (window pixels, y downward) in virtual units, y still downward from the
/// top of the drawing area; `screenHeight` receives that area's height.
Vector2D windowToVirtual(int x, int y, float* screenHeight) {
    const WindowScale w = windowScale();
    if (!w.converted) {
        if (screenHeight)
            *screenHeight = vpScreen.dimensions.y;
        return Vector2D(static_cast<float>(x), static_cast<float>(y));
    }
    if (screenHeight)
        *screenHeight = w.height;
    return Vector2D((x - w.origin.x) / w.scale.x, (y - w.top) / w.scale.y);
}

int reduceAxis(Sint16 value) {
    if (value > 16000)
        return 1;
    if (value < -16000)
        return -1;
    return 0;
}

}  // namespace

GUI::GUI() : styles(new StyleBank), focused(this) {
    Component::focused = true;
    visible = false;
}

GUI::~GUI() {
    MessageScope scope("GUI::~GUI()");
    // The tree goes first, while the GUI can still take back its focus and capture.
    while (!children.empty())
        delete children.front();
    styles.reset();
    delete mouseCursor;
    mouseCursor = nullptr;
}

std::string GUI::getNodeName() const {
    return "gui";
}

void GUI::getFromNode(const xml::Node* node, const std::string& path) {
    MessageScope scope("GUI::getFromNode()");
    dir = path;
    getComponentFromNode(node, nullptr);
}

void GUI::getSelfFromNode(const xml::Node* node, GUI*) {
    MessageScope scope("GUI::getSelfFromNode()");
    if (manager) {
        if (const std::string* f = node->getAttribute(XML_GUI_FONTS)) {
            fonts = dynamic_cast<fonts::FontBank*>((*manager)[*f]);
            if (!fonts)
                debug::warning(dbgGui, "Font bank \"%s\" not found.", f->c_str());
        }
        if (const std::string* b = node->getAttribute(XML_GUI_IMAGEBANK)) {
            if (auto* bank = dynamic_cast<gfx::ImageBank*>((*manager)[*b]))
                images = bank;
            else
                debug::warning(dbgGui, "Image bank \"%s\" not found.", b->c_str());
        }
    }
    Component::getSelfFromNode(node, this);
    setKeyRepeat(node->getAttributeFloat(XML_GUI_KEYDELAY, keydelay),
                 node->getAttributeFloat(XML_GUI_KEYREPEAT, keyrepeat));
    for (const xml::Node* child : node->children) {
        if (child->name == XML_GUI_IMAGES)
            readImages(child);
        else
            readStyle(child);
    }
    if (const std::string* c = node->getAttribute(XML_GUI_CURSOR)) {
        gfx::Image* image = findImage(*c);
        if (!image)
            debug::warning(dbgGui, "Cursor image \"%s\" not found.", c->c_str());
        setMouseCursor(new sprites::ImageSprite(dimensions / 2.0f, true, image));
    }
}

void GUI::readImages(const xml::Node* node) {
    if (!images) {
        debug::warning(dbgGui, "GUI has no image bank; its images element is skipped.");
        return;
    }
    images->getFromNode(node, dir + node->getAttribute("dir", ""));
    images->release();
    try {
        images->refresh(nullptr);
    } catch (const std::string& message) {
        debug::error(dbgGui, "Could not load GUI images: %s", message.c_str());
    }
}

void GUI::readStyle(const xml::Node* node) {
    std::unique_ptr<Style> style(createStyle(node->name));
    if (!style)
        return;
    style->getFromNode(node, this);
    // Styles already read may point at the one of that name, so it must stay.
    if (styles->at(style->name)) {
        debug::warning(dbgGui, "Style \"%s\" defined twice; the second one is ignored.",
                       style->name.c_str());
        return;
    }
    *styles += style.release();
}

void GUI::setMouseCursor(sprites::Sprite* cursor) {
    if (cursor == mouseCursor)
        return;
    delete mouseCursor;
    mouseCursor = cursor;
}

void GUI::setActive(bool a) {
    active = a;
}

void GUI::setKeyRepeat(float delay, float repeat) {
    keydelay = delay;
    keyrepeat = repeat;
}

Trigger* GUI::findTrigger(const std::string& triggerName) const {
    MessageScope scope("GUI::findTrigger()");
    if (!manager) {
        debug::critical(dbgGui, "Manager not yet set!");
        throw std::string("Manager not yet set!");
    }
    std::string::size_type dot = triggerName.find('.');
    if (dot == std::string::npos) {
        debug::critical(dbgGui, "Not a fully qualified trigger name.");
        return nullptr;
    }
    InputEvaluator* evaluator =
        dynamic_cast<InputEvaluator*>((*manager)[triggerName.substr(0, dot)]);
    return evaluator ? evaluator->at(triggerName.substr(dot + 1)) : nullptr;
}

gfx::Image* GUI::findImage(const std::string& imageName) const {
    return images ? images->at(imageName) : nullptr;
}

void GUI::forgetSubtree(Component* subtree) {
    auto inside = [subtree](const Component* c) {
        for (; c; c = c->getParent())
            if (c == subtree)
                return true;
        return false;
    };
    if (mouseCaptured && inside(mouseCaptured))
        mouseCaptured = nullptr;
    if (focused != this && inside(focused)) {
        focused->clearFocusPath();
        focused = this;
        Component::focused = true;
    }
}

void GUI::draw() {
    MessageScope scope("GUI::draw()");
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    currentPos = Vector2D();
    Component::draw();
    glPopAttrib();
}

void GUI::drawSelfPost() {
    if (mouseCursor && mouseCursor->visible)
        mouseCursor->draw();
}

bool GUI::evaluate(const SDL_Event& event, ControlQueue* queue) {
    MessageScope scope("GUI::evaluate()");
    if (!active)
        return false;
    switch (event.type) {
        case SDL_KEYDOWN:
            return focused && focused->keyDown(queue, event.key.keysym.sym, event.key.keysym.mod,
                                               event.key.keysym.unicode);
        case SDL_KEYUP:
            return focused && focused->keyUp(queue, event.key.keysym.sym, event.key.keysym.mod,
                                             event.key.keysym.unicode);
        case SDL_JOYBUTTONDOWN:
            return focused &&
                   focused->joyButtonDown(queue, event.jbutton.which, event.jbutton.button);
        case SDL_JOYBUTTONUP:
            return focused &&
                   focused->joyButtonUp(queue, event.jbutton.which, event.jbutton.button);
        case SDL_MOUSEMOTION:
            routeMouseMotion(event.motion, queue);
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            routeMouseButton(event.button, queue);
            return true;
        case SDL_JOYAXISMOTION:
            return routeJoyAxis(event.jaxis, queue);
        default:
            return false;
    }
}

void GUI::routeMouseMotion(const SDL_MouseMotionEvent& motion, ControlQueue* queue) {
    if (!mouseCursor)
        return;
    const Vector2D event = windowToVirtual(motion.x, motion.y, nullptr);
    Vector2D p(event.x - pos.x, (dimensions.y - event.y) - pos.y);
    p.x = std::max(0.0f, std::min(p.x, dimensions.x - 1));
    p.y = std::max(0.0f, std::min(p.y, dimensions.y - 1));
    mouseCursor->pos = p;
    Component* target = find(p);
    Component* captured = mouseCaptured;
    if (!captured) {
        if (!target)
            return;  // nothing under the pointer can take the focus: it stays
        if (target == focused) {
            target->mouseMove(queue, target->getRelativeCoordinates(p));
            return;
        }
        focused->leave(queue, p);
        target->enter(queue, p);
        target->setFocused(true);
        return;
    }
    const Vector2D relative = captured->getRelativeCoordinates(p);
    if (target == captured && captured != focused) {
        captured->enter(queue, relative);
        captured->setFocused(true);
    } else if (target == captured || captured != focused) {
        captured->mouseMove(queue, relative);
    } else {
        captured->leave(queue, relative);
        setFocused(true);
    }
}

void GUI::routeMouseButton(const SDL_MouseButtonEvent& button, ControlQueue* queue) {
    Component* target = mouseCaptured ? mouseCaptured : focused;
    if (!target)
        return;
    // Window coordinates, y downward, into the GUI's own.
    float screenHeight;
    const Vector2D event = windowToVirtual(button.x, button.y, &screenHeight);
    Vector2D p(event.x - pos.x, (screenHeight - event.y) - pos.y);
    p = target->getRelativeCoordinates(p);
    if (button.type == SDL_MOUSEBUTTONDOWN)
        target->mouseDown(queue, p, button.button);
    else
        target->mouseUp(queue, p, button.button);
}

bool GUI::routeJoyAxis(const SDL_JoyAxisEvent& axis, ControlQueue* queue) {
    const int reduced = reduceAxis(axis.value);
    int& last = axisTable[std::make_pair(axis.which, axis.axis)];
    if (reduced == last)
        return false;
    last = reduced;
    if (!focused)
        return false;
    return focused->joyAxisMotion(queue, axis.which, axis.axis, static_cast<Sint16>(reduced));
}

}  // namespace gui
}  // namespace lumo

#include "gui/core/component.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "controls/control_queue.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gui/core/component_factory.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/window_scale.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

using debug::MessageScope;

Vector2D currentPos;
std::map<std::pair<Uint8, Uint8>, int> axisTable;

Direction operator++(Direction& d, int) {
    Direction old = d;
    d = static_cast<Direction>((static_cast<int>(d) + 1) % 4);
    return old;
}

namespace {

/// The scissor box for a rectangle in virtual units, in window pixels.
void setScissor(const Vector2D& p, const Vector2D& d) {
    const WindowScale w = windowScale();
    glScissor(static_cast<GLint>(w.origin.x + static_cast<int>(p.x) * w.scale.x),
              static_cast<GLint>(w.origin.y + static_cast<int>(p.y) * w.scale.y),
              static_cast<GLsizei>(std::max(0, static_cast<int>(d.x)) * w.scale.x),
              static_cast<GLsizei>(std::max(0, static_cast<int>(d.y)) * w.scale.y));
}

/// The last child in list order that wants the focus and spans cell (x, y).
Component* cellAt(const Component::Children& children, long long x, long long y) {
    Component* found = nullptr;
    for (Component* c : children) {
        if (!c->getWantsFocus())
            continue;
        const basic_Vector2D<int>& gp = c->getGridPos();
        const basic_Vector2D<int>& gd = c->getGridDimensions();
        if (gp.x < 0 || gp.y < 0)
            continue;
        long long w = std::max(1, gd.x), h = std::max(1, gd.y);
        if (x >= gp.x && x < gp.x + w && y >= gp.y && y < gp.y + h)
            found = c;
    }
    return found;
}

}  // namespace

Component::Component() = default;

Component::~Component() {
    MessageScope scope("Component::~Component()");
    while (!children.empty())
        delete children.front();  // takes itself out of the list
    leaveRoot();
    if (parent)
        parent->children.remove(this);
}

void Component::leaveRoot() {
    if (GUI* root = getRoot())
        if (root != this)
            root->forgetSubtree(this);
}

void Component::setDimensions(const Rect& r) {
    pos = r.pos;
    dimensions = r.dimensions;
}

void Component::setDimensions(const Vector2D& p, const Vector2D& d) {
    setDimensions(Rect(p, d));
}

void Component::setDimensions(const Vector2D& d) {
    setDimensions(Rect(pos, d));
}

void Component::setVisible(bool v) {
    visible = v;
}

void Component::setEnabled(bool e) {
    enabled = e;
}

Vector2D Component::getPos() const {
    return pos;
}

Vector2D Component::getDimensions() const {
    return dimensions;
}

const std::string& Component::getName() const {
    return name;
}

bool Component::getVisible() const {
    return visible;
}

bool Component::getEnabled() const {
    return enabled;
}

void Component::getSelfFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("Component::getSelfFromNode()");
    if (const std::string* n = node->getAttribute(XML_GUI_NAME)) {
        name = *n;
    } else {
        debug::error(dbgGui, "No name specified for style. Using empty name.");
        name.clear();
    }
    Rect r(node->getAttributeFloat(XML_GUI_X, pos.x), node->getAttributeFloat(XML_GUI_Y, pos.y),
           node->getAttributeFloat(XML_GUI_WIDTH, dimensions.x),
           node->getAttributeFloat(XML_GUI_HEIGHT, dimensions.y));
    setDimensions(r);
    gridPos.x = static_cast<int>(node->getAttributeLong(XML_GUI_GRID_X, gridPos.x));
    gridPos.y = static_cast<int>(node->getAttributeLong(XML_GUI_GRID_Y, gridPos.y));
    gridDimensions.x =
        static_cast<int>(node->getAttributeLong(XML_GUI_GRID_WIDTH, gridDimensions.x));
    gridDimensions.y =
        static_cast<int>(node->getAttributeLong(XML_GUI_GRID_HEIGHT, gridDimensions.y));
    setVisible(node->getAttributeBool(XML_GUI_VISIBLE, visible));
    setEnabled(node->getAttributeBool(XML_GUI_ENABLED, enabled));
    data = static_cast<int>(node->getAttributeLong(XML_GUI_DATA, data));
    dataString = node->getAttribute(XML_GUI_DATASTRING, dataString);
    if (!gui)
        return;
    const char* const moveNames[4] = {XML_GUI_TRIGGER_NORTH, XML_GUI_TRIGGER_EAST,
                                      XML_GUI_TRIGGER_SOUTH, XML_GUI_TRIGGER_WEST};
    for (int d = 0; d < 4; ++d)
        if (const std::string* t = node->getAttribute(moveNames[d]))
            triggerMove[d] = gui->findTrigger(*t);
}

void Component::draw() {
    if (!visible)
        return;
    currentPos += pos;
    glTranslatef(pos.x, pos.y, 0);
    drawSelf();
    glPushAttrib(GL_SCISSOR_BIT);
    setScissor(currentPos, dimensions);
    glEnable(GL_SCISSOR_TEST);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        (*it)->draw();
    glPopAttrib();
    drawSelfPost();
    glTranslatef(-pos.x, -pos.y, 0);
    currentPos -= pos;
}

void Component::drawSelf() {}

void Component::drawSelfPost() {}

void Component::move(Direction direction, ControlQueue* queue) {
    if (triggerMove[direction]) {
        fire(queue, triggerMove[direction]);
        return;
    }
    if (neighbours[direction])
        neighbours[direction]->setFocused(true);
}

void Component::performSelf(ControlQueue*, float) {}

void Component::enter(ControlQueue*, const Vector2D&) {}

void Component::leave(ControlQueue*, const Vector2D&) {}

void Component::mouseDown(ControlQueue*, const Vector2D&, Uint8) {}

void Component::mouseUp(ControlQueue*, const Vector2D&, Uint8) {}

void Component::mouseMove(ControlQueue*, const Vector2D&) {}

bool Component::keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16) {
    if (key == SDLK_TAB) {
        if (mod & KMOD_SHIFT)
            focusPrevious();
        else
            focusNext();
        return true;
    }
    Direction d;
    switch (key) {
        case SDLK_UP:
            d = dirNorth;
            break;
        case SDLK_RIGHT:
            d = dirEast;
            break;
        case SDLK_DOWN:
            d = dirSouth;
            break;
        case SDLK_LEFT:
            d = dirWest;
            break;
        default:
            return false;
    }
    GUI* root = getRoot();
    Component* mover = root ? root->getFocused() : this;
    mover->move(d, queue);
    return true;
}

bool Component::keyUp(ControlQueue*, SDLKey, SDLMod, Uint16) {
    return false;
}

bool Component::joyButtonDown(ControlQueue*, Uint8, Uint8) {
    return false;
}

bool Component::joyButtonUp(ControlQueue*, Uint8, Uint8) {
    return false;
}

bool Component::joyAxisMotion(ControlQueue* queue, Uint8 joystick, Uint8 axis, Sint16 value) {
    if (joystick != 0 || axis > 1)
        return false;
    GUI* root = getRoot();
    Component* mover = root ? root->getFocused() : this;
    if (axis == 0 && value == 1)
        mover->move(dirEast, queue);
    else if (axis == 0 && value == -1)
        mover->move(dirWest, queue);
    else if (axis == 1 && value == 1)
        mover->move(dirSouth, queue);
    else if (axis == 1 && value == -1)
        mover->move(dirNorth, queue);
    return true;
}

Component& Component::operator+=(Component* child) {
    MessageScope scope("Component::operator+=()");
    if (!child || child == this)
        return *this;
    if (child->parent)
        *child->parent -= child;
    if (child->gridPos.x == -1 && child->gridPos.y == -1)
        child->gridPos = basic_Vector2D<int>(0, static_cast<int>(children.size()));
    children.push_back(child);
    child->parent = this;
    return *this;
}

Component& Component::operator-=(Component* child) {
    MessageScope scope("Component::operator-=()");
    if (!child || child->parent != this)
        throw std::string("Trying to remove a component which is not a child.");
    child->leaveRoot();
    children.remove(child);
    child->parent = nullptr;
    return *this;
}

Component* Component::operator[](const std::string& n) const {
    for (Component* c : children)
        if (c->name == n)
            return c;
    for (Component* c : children)
        if (Component* hit = (*c)[n])
            return hit;
    return nullptr;
}

GUI* Component::getRoot() const {
    const Component* c = this;
    while (c->parent)
        c = c->parent;
    return dynamic_cast<GUI*>(const_cast<Component*>(c));
}

void Component::bringToFront() {
    if (!parent)
        return;
    parent->children.remove(this);
    parent->children.push_front(this);
}

void Component::center(const Vector2D& size) {
    Vector2D p = pos;
    if (size.x > 0)
        p.x = static_cast<float>(static_cast<int>(size.x - dimensions.x) / 2);
    if (size.y > 0)
        p.y = static_cast<float>(static_cast<int>(size.y - dimensions.y) / 2);
    setDimensions(Rect(p, dimensions));
}

void Component::recalcNeighbours() {
    MessageScope scope("Component::recalcNeighbours()");
    long long cols = 0, rows = 0;
    for (Component* c : children) {
        if (!c->wantsFocus || c->gridPos.x < 0 || c->gridPos.y < 0)
            continue;
        cols =
            std::max(cols, c->gridPos.x + static_cast<long long>(std::max(1, c->gridDimensions.x)));
        rows =
            std::max(rows, c->gridPos.y + static_cast<long long>(std::max(1, c->gridDimensions.y)));
    }
    for (Component* c : children) {
        c->neighbours.fill(nullptr);
        if (!c->wantsFocus || c->gridPos.x < 0 || c->gridPos.y < 0)
            continue;
        const long long x = c->gridPos.x, y = c->gridPos.y;
        const long long cells[4][2] = {{x, y == 0 ? rows - 1 : y - 1},
                                       {x == cols - 1 ? 0 : x + 1, y},
                                       {x, y == rows - 1 ? 0 : y + 1},
                                       {x == 0 ? cols - 1 : x - 1, y}};
        for (int d = 0; d < 4; ++d) {
            Component* n = cellAt(children, cells[d][0], cells[d][1]);
            c->neighbours[d] = n == c ? nullptr : n;
        }
    }
}

void Component::getComponentFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("Component::getComponentFromNode()");
    if (!node)
        return;
    if (!gui)
        gui = dynamic_cast<GUI*>(this);
    getSelfFromNode(node, gui);
    getChildrenFromNode(node, gui);
    recalcNeighbours();
}

void Component::getChildrenFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("Component::getChildrenFromNode()");
    for (const xml::Node* child : node->children) {
        std::unique_ptr<Component> c(createComponent(child->name));
        if (!c)
            continue;
        c->getComponentFromNode(child, gui);
        *this += c.release();
    }
}

void Component::perform(ControlQueue* queue, float elapsed) {
    if (!enabled)
        return;
    performSelf(queue, elapsed);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        (*it)->perform(queue, elapsed);
}

void Component::captureMouse(bool capture) {
    GUI* root = getRoot();
    if (!root)
        return;
    if (capture)
        root->mouseCaptured = this;
    else if (root->mouseCaptured == this)
        root->mouseCaptured = nullptr;
}

void Component::clearFocusPath() {
    for (Component* c = this; c; c = c->parent)
        c->focused = false;
}

void Component::setFocused(bool f) {
    GUI* root = getRoot();
    if (!f) {
        if (!focused)
            return;
        clearFocusPath();
        if (root && root->focused == this && root != this) {
            root->focused = root;
            static_cast<Component*>(root)->focused = true;
        }
        return;
    }
    if (root && root->focused == this)
        return;
    if (root && root->focused)
        root->focused->clearFocusPath();
    for (Component* c = this; c; c = c->parent)
        c->focused = true;
    if (root)
        root->focused = this;
}

bool Component::contains(const Vector2D& p) const {
    return p.x >= 0 && p.x <= dimensions.x && p.y >= 0 && p.y <= dimensions.y;
}

Component* Component::find(const Vector2D& p) {
    if (!isEnabled() || !contains(p))
        return nullptr;
    for (Component* c : children)
        if (Component* hit = c->find(p - c->pos))
            return hit;
    return this;
}

Vector2D Component::getRelativeCoordinates(const Vector2D& p) const {
    // The root's own position is not subtracted: points given to the root are relative to it.
    Vector2D r = p;
    for (const Component* c = this; c && c->parent; c = c->parent)
        r -= c->pos;
    return r;
}

void Component::focusNext() {
    focusStep(true);
}

void Component::focusPrevious() {
    focusStep(false);
}

namespace {

std::size_t countTree(const Component* c) {
    std::size_t n = 1;
    for (const Component* child : c->getChildren())
        n += countTree(child);
    return n;
}

}  // namespace

void Component::focusStep(bool forward) {
    MessageScope scope(forward ? "Component::focusNext()" : "Component::focusPrevious()");
    const Component* top = this;
    while (top->parent)
        top = top->parent;
    // Each step either descends or moves along one list, so a walk that finds nothing within
    // twice the tree's size is going round a part of the tree without focusable components.
    std::size_t steps = 2 * countTree(top) + 2;
    Component* c = this;
    while (steps-- > 0) {
        Component* target;
        if (!c->children.empty()) {
            target = forward ? c->children.front() : c->children.back();
        } else if (!c->parent) {
            return;
        } else {
            const Children& siblings = c->parent->children;
            auto it = std::find(siblings.begin(), siblings.end(), c);
            if (forward) {
                ++it;
                target = it == siblings.end() ? c->parent : *it;
            } else {
                target = it == siblings.begin() ? c->parent : *std::prev(it);
            }
        }
        if (target->wantsFocus && target->isEnabled()) {
            target->setFocused(true);
            return;
        }
        c = target;
    }
}

void Component::fire(ControlQueue* queue, Trigger* t) {
    if (queue && t)
        *queue << t;
}

}  // namespace gui
}  // namespace lumo

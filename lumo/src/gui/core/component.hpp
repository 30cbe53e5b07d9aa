#pragma once
// The tree of GUI components: children, the navigation grid that moves the focus with the
// cursor keys, hit testing, drawing with clipping and the XML attributes every component reads.
// Main thread only.

#include <SDL.h>

#include <array>
#include <list>
#include <map>
#include <string>
#include <utility>

#include "lumo/types.hpp"
#include "math/vector.hpp"

namespace lumo {

class ControlQueue;
class Trigger;

namespace xml {
class Node;
}

namespace gui {

class GUI;

/// Where the focus goes on a move. Postfix ++ steps North, East, South, West, North.
enum Direction { dirNorth = 0, dirEast = 1, dirSouth = 2, dirWest = 3 };
Direction operator++(Direction& d, int);

/// The absolute position of the component being drawn (its lower left corner).
extern Vector2D currentPos;

/// The last reported position (-1, 0 or 1) of each joystick axis, keyed by (joystick, axis).
/// An axis is reported to the GUI only when it changes between these three positions.
extern std::map<std::pair<Uint8, Uint8>, int> axisTable;

class Component;

/// Implemented by components that own buttons and want to hear of their clicks.
class ClickEventHandler {
  public:
    virtual ~ClickEventHandler() = default;
    virtual void handleClickEvent(Component* source) = 0;
};

/// An element of the GUI tree. A component owns its children; its position is the offset of its
/// lower left corner from its parent's, in virtual units, y upward.
///
/// Destroying a component destroys its children and takes it out of its parent. A component
/// that holds the GUI's focus or mouse capture when it is destroyed or removed hands both back
/// to the GUI, so the GUI never points at a component outside its tree.
class Component {
  public:
    typedef std::list<Component*> Children;

    Component();
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    /// Position and size. Widgets that lay out parts override this form only.
    virtual void setDimensions(const Rect& r);
    virtual void setDimensions(const Vector2D& pos, const Vector2D& dimensions);
    /// Keeps the position.
    virtual void setDimensions(const Vector2D& dimensions);
    virtual void setVisible(bool v);
    virtual void setEnabled(bool e);
    virtual Vector2D getPos() const;
    virtual Vector2D getDimensions() const;
    virtual const std::string& getName() const;
    virtual bool getVisible() const;
    virtual bool getEnabled() const;

    /// Reads the attributes of every component (name, x, y, width, height, gridX, gridY,
    /// gridWidth, gridHeight, visible, enabled, data, dataString, triggerNorth/East/South/West);
    /// a missing attribute keeps the current value. `gui` resolves trigger names; without one
    /// the move triggers are not read.
    virtual void getSelfFromNode(const xml::Node* node, GUI* gui);

    /// Draws this component and its children (back of the list first) translated by `pos`;
    /// children are clipped to this component's rectangle. Nothing for an invisible component.
    virtual void draw();
    /// The component's own picture, in its own coordinates, before its children.
    virtual void drawSelf();
    /// Drawn after the children, outside their clipping.
    virtual void drawSelfPost();

    /// Fires the move trigger of that direction when one is set, otherwise gives the
    /// neighbour in that direction (if any) the focus.
    virtual void move(Direction direction, ControlQueue* queue);
    virtual void performSelf(ControlQueue* queue, float elapsed);
    /// The pointer came onto / left the component. Points are given as the GUI gives them.
    virtual void enter(ControlQueue* queue, const Vector2D& point);
    virtual void leave(ControlQueue* queue, const Vector2D& point);
    /// Points in the component's own coordinates.
    virtual void mouseDown(ControlQueue* queue, const Vector2D& point, Uint8 button);
    virtual void mouseUp(ControlQueue* queue, const Vector2D& point, Uint8 button);
    virtual void mouseMove(ControlQueue* queue, const Vector2D& point);
    /// Navigation: Tab focuses the next component, Shift+Tab the previous one; the cursor keys
    /// move the GUI's focused component North, East, South, West. True when used.
    virtual bool keyDown(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode);
    virtual bool keyUp(ControlQueue* queue, SDLKey key, SDLMod mod, Uint16 unicode);
    virtual bool joyButtonDown(ControlQueue* queue, Uint8 joystick, Uint8 button);
    virtual bool joyButtonUp(ControlQueue* queue, Uint8 joystick, Uint8 button);
    /// Navigation by joystick 0: axis 0 moves East (1) or West (-1), axis 1 South (1) or North
    /// (-1); `value` is the reduced position -1, 0 or 1. True for axes 0 and 1 of joystick 0.
    virtual bool joyAxisMotion(ControlQueue* queue, Uint8 joystick, Uint8 axis, Sint16 value);

    /// Adds `child` (taking ownership) at the end of the list, taking it from a previous parent.
    /// A child without grid position is placed at column 0, row = number of children before it.
    Component& operator+=(Component* child);
    /// Takes `child` out without destroying it. Throws "Trying to remove a component which is
    /// not a child." when this is not its parent.
    Component& operator-=(Component* child);
    /// The first direct child of that name, else the first hit of a search of each child's
    /// subtree in list order; null when none.
    Component* operator[](const std::string& name) const;
    std::size_t size() const { return children.size(); }
    const Children& getChildren() const { return children; }
    Component* getParent() const { return parent; }
    /// The GUI at the top of the tree, or null when the root is not a GUI.
    GUI* getRoot() const;
    /// Makes this the topmost child of its parent (hit first, drawn last).
    void bringToFront();
    /// Centres the component in an area of `size`; an axis of size 0 or less is left alone.
    void center(const Vector2D& size);

    const basic_Vector2D<int>& getGridPos() const { return gridPos; }
    void setGridPos(const basic_Vector2D<int>& p) { gridPos = p; }
    const basic_Vector2D<int>& getGridDimensions() const { return gridDimensions; }
    void setGridDimensions(const basic_Vector2D<int>& d) { gridDimensions = d; }
    Trigger* getTriggerMove(Direction d) const { return triggerMove[d]; }
    void setTriggerMove(Direction d, Trigger* t) { triggerMove[d] = t; }
    Component* getNeighbour(Direction d) const { return neighbours[d]; }
    void setName(const std::string& n) { name = n; }
    bool getWantsFocus() const { return wantsFocus; }
    int getData() const { return data; }
    void setData(int d) { data = d; }
    const std::string& getDataString() const { return dataString; }
    void setDataString(const std::string& s) { dataString = s; }

    /// Rebuilds the neighbours of the children that want the focus from their grid cells, with
    /// wrap-around at the edges. A child with a negative grid coordinate stays out of the grid.
    void recalcNeighbours();
    /// Reads this component (`gui` null: this is the GUI itself), then its children, then
    /// recomputes the neighbours.
    void getComponentFromNode(const xml::Node* node, GUI* gui);
    /// Builds and adds one child per component element; other element names are ignored.
    void getChildrenFromNode(const xml::Node* node, GUI* gui);
    /// performSelf, then the children from the back of the list; nothing when disabled.
    void perform(ControlQueue* queue, float elapsed);
    /// Makes this the GUI's mouse-captured component; false releases it if this holds it.
    void captureMouse(bool capture);
    /// True moves the GUI's focus here (flags set along the path to the root). False on the
    /// focused component hands the focus back to the GUI.
    void setFocused(bool f);
    bool isFocused() const { return focused; }
    /// 0 <= x <= width and 0 <= y <= height, `p` in own coordinates.
    bool contains(const Vector2D& p) const;
    /// The deepest enabled, visible component under `p` (own coordinates), or null.
    Component* find(const Vector2D& p);
    /// Enabled and visible.
    bool isEnabled() const { return enabled && visible; }
    /// A point in the root's coordinates in this component's coordinates.
    Vector2D getRelativeCoordinates(const Vector2D& p) const;
    /// Tab order: the next component that wants the focus (and is enabled and visible), staying
    /// inside the parent: after the last child the walk starts again at the first.
    void focusNext();
    /// Shift+Tab: the mirror of focusNext.
    void focusPrevious();

  protected:
    friend class GUI;

    /// Clears the focus flags of this component and its ancestors.
    void clearFocusPath();
    /// Fires `t` into `queue` when both are set.
    static void fire(ControlQueue* queue, Trigger* t);

    Component* parent = nullptr;
    Children children;
    bool focused = false;
    bool wantsFocus = false;
    std::string name;
    Vector2D pos, dimensions;
    basic_Vector2D<int> gridPos{-1, -1};
    basic_Vector2D<int> gridDimensions{1, 1};
    bool visible = true;
    bool enabled = true;
    std::array<Component*, 4> neighbours{};
    std::array<Trigger*, 4> triggerMove{};
    int data = 0;
    std::string dataString;

  private:
    void focusStep(bool forward);
    /// Tells the GUI that this subtree leaves it.
    void leaveRoot();
};

}  // namespace gui
}  // namespace lumo

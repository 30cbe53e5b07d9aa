#pragma once
// The root of a GUI: a component tree together with its styles, its mouse cursor, the keyboard
// focus and the mouse capture. It is an input evaluator (the owner hands it SDL events) and a
// resource bank of type "gui" (the resource manager creates it and hands it its XML node).
//
// The owner shows a GUI with setActive(true) and setVisible(true), passes it every SDL event
// through evaluate(), and once per frame calls perform(queue, elapsed) and draw(). Main thread
// only.

#include <SDL.h>

#include <memory>
#include <string>

#include "controls/control_queue.hpp"
#include "gui/core/component.hpp"
#include "gui/core/style.hpp"
#include "resources/resource_bank.hpp"

namespace lumo {

class InputEvaluator;

namespace fonts {
class FontBank;
}
namespace gfx {
class Image;
class ImageBank;
}  // namespace gfx
namespace sprites {
class Sprite;
}

namespace gui {

class GUI : public Component, public Evaluator, public BasicResourceBank {
  public:
    /// Inactive, invisible, focus on itself, an empty style bank.
    GUI();
    /// Destroys the component tree, the style bank and the cursor sprite; not the font and
    /// image banks.
    ~GUI() override;

    // Both bases have a perform; the GUI's per-frame work is the component one, which the
    // owner calls. The evaluator's (called by the control queue) does nothing.
    using Component::perform;
    using Evaluator::perform;

    /// Routes one SDL event while active (false for every event otherwise): keys and joystick
    /// buttons to the focused component, mouse motion moves the cursor and lets the focus follow
    /// it, mouse buttons to the captured (else focused) component, joystick axes reduced to
    /// -1, 0, 1 and reported only on change. True when the event was used. Pointer positions
    /// are converted from window pixels to virtual units when the two differ (see
    /// window_scale.hpp).
    bool evaluate(const SDL_Event& event, ControlQueue* queue) override;
    std::string getNodeName() const override;
    /// Builds the whole GUI from its node; `path` is the base directory of its `images`.
    void getFromNode(const xml::Node* node, const std::string& path) override;
    virtual fonts::FontBank* getFonts() const { return fonts; }
    virtual gfx::ImageBank* getImages() const { return images; }
    /// The GUI holds no trigger map: null.
    virtual InputEvaluator* getTriggers() const { return nullptr; }
    virtual StyleBank* getStyles() const { return styles.get(); }
    virtual sprites::Sprite* getMouseCursor() const { return mouseCursor; }
    virtual Component* getMouseCaptured() const { return mouseCaptured; }
    virtual Component* getFocused() const { return focused; }
    virtual bool getActive() const { return active; }
    virtual float getKeyDelay() const { return keydelay; }
    /// Auto-repeat is off while this is 0 or less.
    virtual float getKeyRepeat() const { return keyrepeat; }
    /// Takes ownership of `cursor` (may be null), destroying the previous one.
    virtual void setMouseCursor(sprites::Sprite* cursor);
    virtual void setActive(bool a);
    virtual void setKeyRepeat(float delay, float repeat);

    /// Reads `fonts` and `imageBank` (banks of the manager, when one is set), the component
    /// attributes, optional `keydelay` and `keyrepeat`, the `images` and style children, then
    /// `cursor`. A GUI read from a resource description has no image bank of its own: with
    /// `imageBank` its styles, captions and cursor take their images from an image bank read
    /// earlier (whose textures are made when that bank is refreshed, with the window open).
    void getSelfFromNode(const xml::Node* node, GUI* gui) override;
    /// Draws the tree with blending on and depth testing off; OpenGL state is restored after.
    void draw() override;
    /// The cursor sprite, above everything.
    void drawSelfPost() override;

    void setFonts(fonts::FontBank* f) { fonts = f; }
    void setImages(gfx::ImageBank* i) { images = i; }
    /// "bank.trigger" resolved through the resource manager: null for an unqualified name, a
    /// missing bank or trigger, or a bank that is not an input evaluator. Throws "Manager not
    /// yet set!" without a manager.
    Trigger* findTrigger(const std::string& name) const;
    /// The image of that name in the image bank; null without bank or image.
    gfx::Image* findImage(const std::string& name) const;
    /// The style of that name when it is a `T`; null otherwise.
    template <class T>
    T* findStyle(const std::string& name) const {
        return styles->findStyle<T>(name);
    }

    /// Called by components leaving the tree: the focus and the capture held inside `subtree`
    /// go back to the GUI.
    void forgetSubtree(Component* subtree);

  private:
    friend class Component;

    void readStyle(const xml::Node* node);
    void readImages(const xml::Node* node);
    void routeMouseMotion(const SDL_MouseMotionEvent& motion, ControlQueue* queue);
    void routeMouseButton(const SDL_MouseButtonEvent& button, ControlQueue* queue);
    bool routeJoyAxis(const SDL_JoyAxisEvent& axis, ControlQueue* queue);

    fonts::FontBank* fonts = nullptr;
    gfx::ImageBank* images = nullptr;
    std::unique_ptr<StyleBank> styles;
    sprites::Sprite* mouseCursor = nullptr;
    Component* mouseCaptured = nullptr;
    Component* focused;
    bool active = false;
    std::string dir;
    float keydelay = 300;
    float keyrepeat = 30;
};

/// Creates a GUI for the bank type "gui".
class GuiResourceBankGenerator : public ResourceBankGenerator {
  public:
    BasicResourceBank* generateBank(const std::string& type) const override;
};

extern const GuiResourceBankGenerator resourceBankGenerator;

}  // namespace gui
}  // namespace lumo

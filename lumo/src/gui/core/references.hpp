#pragma once
// Reading references from GUI descriptions: attributes that name a style, an image or a trigger
// of the GUI. In all of them a missing attribute keeps the current value; a name that cannot be
// resolved (no GUI, no such entry, a style of another class) gives null.

#include <string>

#include "gui/core/gui.hpp"
#include "lumo/types.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

template <class T>
void readStyle(const xml::Node* node, const char* attribute, GUI* gui, T*& style) {
    if (const std::string* n = node->getAttribute(attribute))
        style = gui ? gui->findStyle<T>(*n) : nullptr;
}

void readImage(const xml::Node* node, const char* attribute, GUI* gui, gfx::Image*& image);
/// Fully qualified trigger names ("bank.trigger"), resolved with GUI::findTrigger.
void readTrigger(const xml::Node* node, const char* attribute, GUI* gui, Trigger*& trigger);
/// A colour in the RRGGBBAA form.
void readColor(const xml::Node* node, const char* attribute, Color& c);

}  // namespace gui
}  // namespace lumo

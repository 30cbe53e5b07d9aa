#include "gui/core/references.hpp"

namespace lumo {
namespace gui {

void readImage(const xml::Node* node, const char* attribute, GUI* gui, gfx::Image*& image) {
    if (const std::string* n = node->getAttribute(attribute))
        image = gui ? gui->findImage(*n) : nullptr;
}

void readTrigger(const xml::Node* node, const char* attribute, GUI* gui, Trigger*& trigger) {
    if (const std::string* n = node->getAttribute(attribute))
        trigger = gui ? gui->findTrigger(*n) : nullptr;
}

void readColor(const xml::Node* node, const char* attribute, Color& c) {
    if (const std::string* text = node->getAttribute(attribute))
        c.set(text->c_str());
}

}  // namespace gui
}  // namespace lumo

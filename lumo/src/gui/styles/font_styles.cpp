#include "gui/styles/font_styles.hpp"

#include <GL/gl.h>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/fonts/font.hpp"
#include "gfx/fonts/font_bank.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"
#include "gui/core/utf8.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

using debug::MessageScope;

void FontStyle::getFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("FontStyle::getFromNode()");
    Style::getFromNode(node, gui);
    try {
        if (const std::string* h = node->getAttribute(XML_GUI_JUSTIFICATION_HORIZONTAL))
            justificationHorizontal = lumo::justificationHorizontal(h->c_str());
        if (const std::string* v = node->getAttribute(XML_GUI_JUSTIFICATION_VERTICAL))
            justificationVertical = lumo::justificationVertical(v->c_str());
    } catch (const std::string& message) {
        debug::error(dbgGui, "%s", message.c_str());
    }
}

void SimpleFontStyle::getFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("SimpleFontStyle::getFromNode()");
    FontStyle::getFromNode(node, gui);
    readColor(node, XML_GUI_COLOR, color);
    const std::string* family = node->getAttribute(XML_GUI_FAMILY);
    if (!family)
        return;
    const unsigned int size = static_cast<unsigned int>(node->getAttributeLong(XML_GUI_SIZE, 0));
    fonts::FontBank* bank = gui ? gui->getFonts() : nullptr;
    font = bank ? bank->at(fonts::FontDescriptor(*family, size, fonts::fsPlain)) : nullptr;
    if (!font)
        debug::warning(dbgGui, "Font \"%s\" of size %u not found for style \"%s\".",
                       family->c_str(), size, name.c_str());
}

void SimpleFontStyle::print(const Rect& r, const char* text) {
    if (!font || !text)
        return;
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
    color.apply();
    if (isAscii(text))
        font->print(r, justificationHorizontal, justificationVertical, text);
    else
        font->print(r, justificationHorizontal, justificationVertical,
                    utf8ToFontBytes(text).c_str());
    glPopAttrib();
}

}  // namespace gui
}  // namespace lumo

#include "gui/styles/label_style.hpp"

#include <GL/gl.h>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gfx/images/image.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"
#include "gui/styles/font_styles.hpp"
#include "gui/styles/rect_styles.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

using debug::MessageScope;

void LabelStyle::getFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("LabelStyle::getFromNode()");
    Style::getFromNode(node, gui);
    readStyle(node, XML_GUI_RECT, gui, rect);
    readStyle(node, XML_GUI_FONT, gui, font);
    try {
        if (const std::string* h = node->getAttribute(XML_GUI_IMAGE_HORIZONTAL))
            imageHorizontal = justificationHorizontal(h->c_str());
        if (const std::string* v = node->getAttribute(XML_GUI_IMAGE_VERTICAL))
            imageVertical = justificationVertical(v->c_str());
    } catch (const std::string& message) {
        debug::error(dbgGui, "%s", message.c_str());
    }
    readColor(node, XML_GUI_IMAGECOLOR, imageColor);
}

void LabelStyle::draw(const Rect& r) {
    if (rect)
        rect->draw(r);
}

void LabelStyle::print(Rect r, const char* text, const gfx::Image* image) {
    if (image) {
        const float w = static_cast<float>(image->getWidth());
        const float h = static_cast<float>(image->getHeight());
        Vector2D at;
        switch (imageHorizontal) {
            case jhLeft:
                at.x = r.pos.x;
                break;
            case jhCenter:
                at.x = r.pos.x + r.dimensions.x / 2 - w / 2;
                break;
            case jhRight:
                at.x = r.pos.x + r.dimensions.x - w;
                break;
        }
        switch (imageVertical) {
            case jvTop:
                at.y = r.pos.y + r.dimensions.y - h;
                break;
            case jvCenter:
                at.y = r.pos.y + r.dimensions.y / 2 - h / 2;
                break;
            case jvBottom:
                at.y = r.pos.y;
                break;
        }
        if (font) {
            if (imageHorizontal == jhLeft && font->justificationHorizontal == jhLeft)
                r.reduceLeft(w);
            if (imageHorizontal == jhRight && font->justificationHorizontal == jhRight)
                r.reduceRight(w);
            if (imageVertical == jvTop && font->justificationVertical == jvTop)
                r.reduceTop(h);
            if (imageVertical == jvBottom && font->justificationVertical == jvBottom)
                r.reduceBottom(h);
        }
        glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
        imageColor.apply();
        // Drawing is not const for images that keep texture state.
        const_cast<gfx::Image*>(image)->draw(at);
        glPopAttrib();
    }
    if (font)
        font->print(r, text);
}

}  // namespace gui
}  // namespace lumo

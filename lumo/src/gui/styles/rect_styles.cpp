#include "gui/styles/rect_styles.hpp"

#include <GL/gl.h>

#include "debug/message_stack.hpp"
#include "gfx/images/image.hpp"
#include "gui/core/gui.hpp"
#include "gui/core/gui_names.hpp"
#include "gui/core/references.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

using debug::MessageScope;

namespace {

void quad(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) {
    glVertex2f(x0, y0);
    glVertex2f(x1, y1);
    glVertex2f(x2, y2);
    glVertex2f(x3, y3);
}

}  // namespace

void PlainRectStyle::getFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("PlainRectStyle::getFromNode()");
    RectStyle::getFromNode(node, gui);
    border = node->getAttributeFloat(XML_GUI_BORDER, border);
    readColor(node, XML_GUI_COLOR, color);
    readColor(node, XML_GUI_COLORBORDER1, colorBorder[0]);
    readColor(node, XML_GUI_COLORBORDER2, colorBorder[1]);
}

void PlainRectStyle::draw(const Rect& r) {
    const float x = r.pos.x, y = r.pos.y, w = r.dimensions.x, h = r.dimensions.y, b = border;
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    color.apply();
    quad(x, y, x + w, y, x + w, y + h, x, y + h);
    if (b != 0) {
        colorBorder[0].apply();
        quad(x - b, y + h + b, x + w + b, y + h + b, x + w, y + h, x - b, y + h);
        quad(x - b, y + h, x, y + h, x, y, x - b, y - b);
        colorBorder[1].apply();
        quad(x, y, x + w + b, y, x + w + b, y - b, x - b, y - b);
        quad(x + w, y + h, x + w + b, y + h + b, x + w + b, y, x + w, y);
    }
    glEnd();
    glPopAttrib();
}

void TexturedRectStyle::getFromNode(const xml::Node* node, GUI* gui) {
    MessageScope scope("TexturedRectStyle::getFromNode()");
    RectStyle::getFromNode(node, gui);
    stretch = node->getAttributeBool(XML_GUI_STRETCH, stretch);
    readColor(node, XML_GUI_COLOR, color);
    readColor(node, XML_GUI_COLORBORDER, colorBorder);
    readImage(node, XML_GUI_CENTER, gui, imgCenter);
    readImage(node, XML_GUI_UPPERLEFT, gui, imgUpperLeft);
    readImage(node, XML_GUI_UPPER, gui, imgUpper);
    readImage(node, XML_GUI_UPPERRIGHT, gui, imgUpperRight);
    readImage(node, XML_GUI_LEFT, gui, imgLeft);
    readImage(node, XML_GUI_RIGHT, gui, imgRight);
    readImage(node, XML_GUI_LOWERLEFT, gui, imgLowerLeft);
    readImage(node, XML_GUI_LOWER, gui, imgLower);
    readImage(node, XML_GUI_LOWERRIGHT, gui, imgLowerRight);
}

void TexturedRectStyle::draw(const Rect& r) {
    const float x = r.pos.x, y = r.pos.y, w = r.dimensions.x, h = r.dimensions.y;
    auto W = [](const gfx::Image* i) { return static_cast<float>(i->getWidth()); };
    auto H = [](const gfx::Image* i) { return static_cast<float>(i->getHeight()); };
    auto inRect = [this](gfx::Image* i, const Rect& where) {
        if (stretch)
            i->drawStretched(where);
        else
            i->draw(where);
    };
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glEnable(GL_TEXTURE_2D);
    color.apply();
    if (imgUpperLeft)
        imgUpperLeft->draw(Vector2D(x - W(imgUpperLeft), y + h));
    if (imgUpper)
        inRect(imgUpper, Rect(x, y + h, w, H(imgUpper)));
    if (imgUpperRight)
        imgUpperRight->draw(Vector2D(x + w, y + h));
    if (imgLeft)
        inRect(imgLeft, Rect(x - W(imgLeft), y, W(imgLeft), h));
    if (imgCenter)
        inRect(imgCenter, r);
    if (imgRight)
        inRect(imgRight, Rect(x + w, y, W(imgRight), h));
    if (imgLowerLeft)
        imgLowerLeft->draw(Vector2D(x - W(imgLowerLeft), y - H(imgLowerLeft)));
    if (imgLower)
        inRect(imgLower, Rect(x, y - H(imgLower), w, H(imgLower)));
    if (imgLowerRight)
        imgLowerRight->draw(Vector2D(x + w, y - H(imgLowerRight)));
    glPopAttrib();
}

}  // namespace gui
}  // namespace lumo

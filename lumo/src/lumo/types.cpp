#include "lumo/types.hpp"

#include <cstdlib>
#include <cstring>
#include <string>

#include "xml/node.hpp"

namespace lumo {

const char* const XML_COLOR_CODE = "code";
const char* const XML_COLOR_RED = "red";
const char* const XML_COLOR_GREEN = "green";
const char* const XML_COLOR_BLUE = "blue";
const char* const XML_COLOR_ALPHA = "alpha";

const char* const STR_JUSTIFICATION_HORIZONTAL[3] = {"left", "center", "right"};
const char* const STR_JUSTIFICATION_VERTICAL[3] = {"top", "center", "bottom"};

Viewport vpScreen;
Viewport* currentViewport = nullptr;

Color::Color(const xml::Node* node) {
    if (!node)
        return;
    if (const std::string* code = node->getAttribute(XML_COLOR_CODE)) {
        set(code->c_str());
        return;
    }
    r = node->getAttributeFloat(XML_COLOR_RED, 0.0f);
    g = node->getAttributeFloat(XML_COLOR_GREEN, 0.0f);
    b = node->getAttributeFloat(XML_COLOR_BLUE, 0.0f);
    a = node->getAttributeFloat(XML_COLOR_ALPHA, 1.0f);
}

void Color::set(const char* code) {
    unsigned long v = code ? std::strtoul(code, nullptr, 16) : 0;
    auto byte = [v](int shift) { return static_cast<GLfloat>(((v >> shift) & 0xFF) / 255.0); };
    r = byte(24);
    g = byte(16);
    b = byte(8);
    a = byte(0);
}

void Color::apply() const {
    glColor4fv(&r);
}

Viewport::~Viewport() {
    if (currentViewport == this)
        currentViewport = (this == &vpScreen) ? nullptr : &vpScreen;
}

void Viewport::apply() {
    currentViewport = this;
    glViewport(static_cast<GLint>(pos.x), static_cast<GLint>(pos.y),
               static_cast<GLsizei>(dimensions.x), static_cast<GLsizei>(dimensions.y));
}

JustificationHorizontal justificationHorizontal(const char* name) {
    for (int i = 0; i < 3; ++i)
        if (name && std::strcmp(name, STR_JUSTIFICATION_HORIZONTAL[i]) == 0)
            return static_cast<JustificationHorizontal>(i);
    throw std::string(name ? name : "") + " is not a valid JustificationHorizontal value.";
}

JustificationVertical justificationVertical(const char* name) {
    for (int i = 0; i < 3; ++i)
        if (name && std::strcmp(name, STR_JUSTIFICATION_VERTICAL[i]) == 0)
            return static_cast<JustificationVertical>(i);
    throw std::string(name ? name : "") + " is not a valid JustificationVertical value.";
}

}  // namespace lumo

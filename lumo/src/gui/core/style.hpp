#pragma once
// The base of GUI styles and the bank, owned by a GUI, that holds them by name.

#include <string>

#include "resources/named_resource.hpp"

namespace lumo {

namespace xml {
class Node;
}

namespace gui {

class GUI;
class StyleBank;

/// How widgets look; a named resource of a GUI's style bank.
class Style : public NamedResource<StyleBank, std::string> {
  public:
    Style() = default;
    ~Style() override = default;
    Style(const Style&) = delete;
    Style& operator=(const Style&) = delete;

    /// Reads `name` (missing: an error is logged and the name is empty). Derived styles read
    /// their own attributes after it; references to other styles, fonts and images are looked
    /// up in `gui` at this moment.
    virtual void getFromNode(const xml::Node* node, GUI* gui);
};

class StyleBank : public NamedResourceBank<Style> {
  public:
    /// The style of that name when it is a `T`, otherwise null.
    template <class T>
    T* findStyle(const std::string& name) const {
        return dynamic_cast<T*>(at(name));
    }
};

}  // namespace gui
}  // namespace lumo

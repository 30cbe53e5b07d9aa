#pragma once
// Creation of components by XML element name. Each widget registers itself from its own source
// file with a static object, the way bank generators do, so a new widget needs no edit here:
//
//   // in pane.cpp
//   static const ComponentRegistration registration(XML_GUI_PANE, &newComponent<Pane>);
//
// The registry is filled during static initialisation (programs link the whole framework
// library, so every widget's file is present) and read while GUIs are built. Main thread only.

#include <string>

namespace lumo {
namespace gui {

class Component;

typedef Component* (*ComponentCreator)();

/// A creator for a default-constructed `T`.
template <class T>
Component* newComponent() {
    return new T;
}

/// Registers `create` for the element name `elementName` while the object lives; a later
/// registration of the same name takes over until it is destroyed.
class ComponentRegistration {
  public:
    ComponentRegistration(const char* elementName, ComponentCreator create);
    ~ComponentRegistration();
    ComponentRegistration(const ComponentRegistration&) = delete;
    ComponentRegistration& operator=(const ComponentRegistration&) = delete;

  private:
    const char* elementName;
    ComponentCreator create;
};

/// A new component (owned by the caller) for a registered element name, otherwise null.
Component* createComponent(const std::string& elementName);

}  // namespace gui
}  // namespace lumo

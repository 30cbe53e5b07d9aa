#include "gui/core/component_factory.hpp"

#include <algorithm>
#include <utility>
#include <vector>

namespace lumo {
namespace gui {

namespace {

typedef std::vector<std::pair<std::string, ComponentCreator>> Registry;

Registry& registry() {
    // Never destroyed: registrations of other files end during static destruction in an order
    // no one controls.
    static Registry* entries = new Registry;
    return *entries;
}

}  // namespace

ComponentRegistration::ComponentRegistration(const char* elementName_, ComponentCreator create_)
    : elementName(elementName_), create(create_) {
    registry().emplace_back(elementName, create);
}

ComponentRegistration::~ComponentRegistration() {
    Registry& r = registry();
    auto mine = std::find_if(r.begin(), r.end(), [this](const Registry::value_type& e) {
        return e.first == elementName && e.second == create;
    });
    if (mine != r.end())
        r.erase(mine);
}

Component* createComponent(const std::string& elementName) {
    const Registry& r = registry();
    // The latest registration of a name wins.
    for (auto it = r.rbegin(); it != r.rend(); ++it)
        if (it->first == elementName)
            return it->second();
    return nullptr;
}

}  // namespace gui
}  // namespace lumo

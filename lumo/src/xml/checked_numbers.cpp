#include "xml/checked_numbers.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "debug/log.hpp"
#include "lumo/convert.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace xml {

namespace {

void reject(const Node& node, const std::string& name, const std::string& text, const char* why,
            const std::string& def, int group) {
    debug::warning(group, "Attribute %s=\"%s\" of <%s> %s; keeping %s.", name.c_str(), text.c_str(),
                   node.name.c_str(), why, def.c_str());
}

}  // namespace

long getCheckedLong(const Node& node, const std::string& name, long def, long min, long max,
                    int group) {
    const std::string* text = node.getAttribute(name);
    if (!text)
        return def;
    errno = 0;
    const long value = std::strtol(text->c_str(), nullptr, 0);
    if (errno == ERANGE || value < min || value > max) {
        reject(node, name, *text, "is out of range", std::to_string(def), group);
        return def;
    }
    return value;
}

float getCheckedFloat(const Node& node, const std::string& name, float def, int group) {
    const std::string* text = node.getAttribute(name);
    if (!text)
        return def;
    const float value = std::strtof(text->c_str(), nullptr);
    if (!std::isfinite(value)) {
        reject(node, name, *text, "is not a finite number", toStr(def), group);
        return def;
    }
    return value;
}

}  // namespace xml
}  // namespace lumo

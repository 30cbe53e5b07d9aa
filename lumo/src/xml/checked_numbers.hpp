#pragma once
// Numeric attributes that must fit the field they go into. The plain readers of Node convert
// whatever they are given (a value beyond the type wraps or turns into NaN or infinity); these
// reject such a value with a warning that quotes the text, and keep the default.

#include <string>

namespace lumo {
namespace xml {

class Node;

/// The attribute read as Node::getAttributeLong() reads it, when the number lies within
/// [min, max]; absent gives `def`. A number outside (or beyond what long holds) logs the warning
/// `Attribute NAME="TEXT" of <ELEMENT> is out of range; keeping DEF.` in `group` and gives `def`.
long getCheckedLong(const Node& node, const std::string& name, long def, long min, long max,
                    int group);

/// The attribute read as Node::getAttributeFloat() reads it, when that is a finite float;
/// absent gives `def`. "nan", "inf" or a value beyond float ("1e39") logs the warning
/// `Attribute NAME="TEXT" of <ELEMENT> is not a finite number; keeping DEF.` in `group` and
/// gives `def`.
float getCheckedFloat(const Node& node, const std::string& name, float def, int group);

}  // namespace xml
}  // namespace lumo

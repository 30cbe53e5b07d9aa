#pragma once
// The in-memory XML element through which every format of the framework is read and written.
// Only elements and attributes are kept; character data and comments are dropped.

#include <string>
#include <vector>

#include "xml/attribute_map.hpp"

namespace lumo {
namespace xml {

class Node {
  public:
    typedef AttributeMap Attributes;
    // A vector rather than a list: loading builds many small trees, and one allocation per child
    // link was a large share of the cost.
    typedef std::vector<Node*> Nodes;

    Node();
    /// `attributes`: null-terminated array of alternating names and values (expat's form), or
    /// null. A repeated name keeps its last value.
    Node(const char* name, const char** attributes);
    /// Detaches from the parent and destroys every child.
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    /// Takes ownership of `child`, first removing it from a previous parent.
    Node& operator+=(Node* child);
    /// Removes every occurrence of `child` without destroying it.
    Node& operator-=(Node* child);

    /// The value, created empty when absent.
    std::string& operator[](const std::string& name);
    /// The value, or null when absent.
    const std::string* getAttribute(const std::string& name) const;
    std::string getAttribute(const std::string& name, const std::string& def) const;
    /// strtol with base 0 (decimal, 0x hexadecimal, leading 0 octal); unparsable gives 0.
    long getAttributeLong(const std::string& name, long def) const;
    void setAttributeLong(const std::string& name, long value);
    float getAttributeFloat(const std::string& name, float def) const;
    void setAttributeFloat(const std::string& name, float value);
    /// True exactly for "1", "t" and "true".
    bool getAttributeBool(const std::string& name, bool def) const;
    void setAttributeBool(const std::string& name, bool value);

    /// The subtree as text: two blanks of indentation per level, attributes in name order,
    /// childless elements self-closed.
    std::string toString(int indent) const;
    /// Writes the declaration line and toString(0) to `filename`. The old file is replaced
    /// atomically (temporary file in the same directory, flushed, renamed over it), so a failed
    /// save never loses it. Throws a message naming the file when it cannot be written.
    /// Element and attribute names are written in ISO-8859-1, as the declaration says (values
    /// use character references); a name holding a character beyond ISO-8859-1 cannot be
    /// written, and the save throws a message naming the file and the name.
    void saveXML(const char* filename) const;

    Node* parent = nullptr;
    std::string name;
    Attributes attributes;
    Nodes children;
};

/// Escapes & " < > for attribute values.
std::string encode(const std::string& text);

/// Reads a file into a new tree owned by the caller. Throws a message naming the file (and, for
/// a parse error, expat's text and the line) when it cannot be opened, read or parsed; never
/// returns a partial tree.
Node* loadXML(const char* filename);

}  // namespace xml
}  // namespace lumo

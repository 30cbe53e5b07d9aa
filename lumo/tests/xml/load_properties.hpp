#pragma once
// What loading any input must guarantee, checked by the fuzzer on generated inputs and by the
// tests on the inputs it once found failing: a failure is a message naming the file, and a
// loaded tree, written out, loads again into the same tree.

#include <cstdio>
#include <memory>
#include <string>

#include "xml/node.hpp"

namespace lumo {
namespace testing {

namespace detail {

inline bool writeText(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

// The text form is only expected to load back unchanged when
// - no attribute value holds a tab or line break (written raw, read back as blanks, as XML
//   requires), and
// - every name is ASCII: expat takes a few Latin-1 letters (0xAA, 0xB5, 0xBA) as name
//   characters in an ISO-8859-1 document but not in the UTF-8 text written back.
inline bool expectedToRoundTrip(const xml::Node& node) {
    auto ascii = [](const std::string& s) {
        for (char c : s)
            if (static_cast<unsigned char>(c) >= 0x80)
                return false;
        return true;
    };
    if (!ascii(node.name))
        return false;
    for (const auto& attribute : node.attributes) {
        if (!ascii(attribute.first))
            return false;
        if (attribute.second.find_first_of("\t\n\r") != std::string::npos)
            return false;
    }
    for (const xml::Node* child : node.children)
        if (!expectedToRoundTrip(*child))
            return false;
    return true;
}

}  // namespace detail

/// Loads `path` and checks the guarantees, using `scratch` as a temporary file. Returns "" when
/// they hold, otherwise what was violated. Anything but a std::string thrown propagates.
inline std::string checkLoadProperties(const std::string& path, const std::string& scratch) {
    std::unique_ptr<xml::Node> root;
    try {
        root.reset(xml::loadXML(path.c_str()));
    } catch (const std::string& message) {
        if (message.find("\"" + path + "\"") == std::string::npos)
            return "message does not name the file: " + message;
        return "";
    }
    if (!root)
        return "no tree and no message";
    if (root->parent)
        return "the root has a parent";
    if (!detail::expectedToRoundTrip(*root))
        return "";

    const std::string text = root->toString(0);
    if (!detail::writeText(scratch, text))
        return "cannot write " + scratch;
    try {
        std::unique_ptr<xml::Node> again(xml::loadXML(scratch.c_str()));
        if (again->toString(0) != text)
            return "the written text loads differently";
    } catch (const std::string& message) {
        return "the written text does not load: " + message;
    }
    return "";
}

}  // namespace testing
}  // namespace lumo

#pragma once
// What loading any input must guarantee, checked by the fuzzer on generated inputs and by the
// tests on the inputs it once found failing: a failure is a message naming the file, and a
// loaded tree, written out, loads again into the same tree.

#include <algorithm>
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

// Names are written unescaped, and expat takes a few Latin-1 letters (0xAA, 0xB5, 0xBA) as name
// characters in an ISO-8859-1 document but not in the UTF-8 text written back.
inline bool asciiNames(const xml::Node& node) {
    auto ascii = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
    };
    return ascii(node.name) &&
           std::all_of(
               node.attributes.begin(), node.attributes.end(),
               [&](const xml::Node::Attributes::value_type& a) { return ascii(a.first); }) &&
           std::all_of(node.children.begin(), node.children.end(),
                       [](const xml::Node* child) { return asciiNames(*child); });
}

}  // namespace detail

/// Loads `path` and checks the guarantees, using `scratch` (whose directory must be writable)
/// as a temporary file. Returns "" when
/// they hold, otherwise what was violated. Anything but a std::string thrown propagates.
inline std::string checkLoadProperties(const std::string& path, const std::string& scratch) {
    std::unique_ptr<xml::Node> root;
    try {
        root.reset(xml::loadXML(path.c_str()));
    } catch (const std::string& message) {
        return message.find("\"" + path + "\"") == std::string::npos
                   ? "message does not name the file: " + message
                   : "";
    }
    if (!root || root->parent)
        return "no tree, or a root with a parent";
    // Saved under its ISO-8859-1 declaration, the tree loads again unchanged, unless a name
    // cannot be written in ISO-8859-1, which the save refuses.
    try {
        root->saveXML(scratch.c_str());
        std::unique_ptr<xml::Node> saved(xml::loadXML(scratch.c_str()));
        if (saved->toString(0) != root->toString(0))
            return "the saved file loads differently";
    } catch (const std::string& message) {
        if (message.find("cannot be written in ISO-8859-1") == std::string::npos)
            return "the tree cannot be saved and loaded again: " + message;
    }
    if (!detail::asciiNames(*root))
        return "";
    const std::string text = root->toString(0);
    if (!detail::writeText(scratch, text))
        return "cannot write " + scratch;
    try {
        std::unique_ptr<xml::Node> again(xml::loadXML(scratch.c_str()));
        return again->toString(0) == text ? "" : "the written text loads differently";
    } catch (const std::string& message) {
        return "the written text does not load: " + message;
    }
}

}  // namespace testing
}  // namespace lumo

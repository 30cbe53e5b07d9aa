#include "xml/node.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "debug/message_stack.hpp"
#include "lumo/convert.hpp"

namespace lumo {
namespace xml {

Node::Node() = default;

Node::Node(const char* name_, const char** attrs) : name(name_ ? name_ : "") {
    debug::MessageScope scope("Node(const char *,const char **)");
    if (!attrs)
        return;
    std::size_t count = 0;
    while (attrs[2 * count] && attrs[2 * count + 1])
        ++count;
    std::vector<Attributes::value_type> pairs;
    pairs.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        pairs.emplace_back(attrs[2 * i], attrs[2 * i + 1]);
    attributes.assign(std::move(pairs));
}

Node::~Node() {
    if (parent)
        *parent -= this;
    // Each child is detached here rather than letting it search this node's list in its own
    // destructor: that search would make destroying a wide node quadratic.
    Nodes orphans;
    orphans.swap(children);
    for (Node* child : orphans) {
        child->parent = nullptr;
        delete child;
    }
}

Node& Node::operator+=(Node* child) {
    if (!child)
        return *this;
    if (child->parent)
        *child->parent -= child;
    children.push_back(child);
    child->parent = this;
    return *this;
}

Node& Node::operator-=(Node* child) {
    if (!child)
        return *this;
    children.erase(std::remove(children.begin(), children.end(), child), children.end());
    if (child->parent == this)
        child->parent = nullptr;
    return *this;
}

std::string& Node::operator[](const std::string& key) {
    return attributes[key];
}

const std::string* Node::getAttribute(const std::string& key) const {
    auto it = attributes.find(key);
    return it == attributes.end() ? nullptr : &it->second;
}

std::string Node::getAttribute(const std::string& key, const std::string& def) const {
    const std::string* value = getAttribute(key);
    return value ? *value : def;
}

long Node::getAttributeLong(const std::string& key, long def) const {
    const std::string* value = getAttribute(key);
    return value ? std::strtol(value->c_str(), nullptr, 0) : def;
}

void Node::setAttributeLong(const std::string& key, long value) {
    attributes[key] = std::to_string(value);
}

float Node::getAttributeFloat(const std::string& key, float def) const {
    const std::string* value = getAttribute(key);
    return value ? std::strtof(value->c_str(), nullptr) : def;
}

void Node::setAttributeFloat(const std::string& key, float value) {
    attributes[key] = toStr(value);
}

bool Node::getAttributeBool(const std::string& key, bool def) const {
    const std::string* value = getAttribute(key);
    if (!value)
        return def;
    return *value == "1" || *value == "t" || *value == "true";
}

void Node::setAttributeBool(const std::string& key, bool value) {
    attributes[key] = value ? "true" : "false";
}

namespace {

// Length of the UTF-8 sequence starting at text[i] and its code point, or 0 when the bytes there
// are not a valid sequence.
std::size_t decodeUtf8(const std::string& text, std::size_t i, unsigned long& codePoint) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length;
    unsigned long minimum;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else if (lead >= 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else {
        return 0;
    }
    if (lead > 0xF4 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void appendReference(std::string& out, unsigned long codePoint) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "&#x%lX;", codePoint);
    out += buffer;
}

// `forFile`: the text goes into a saved document, whose declaration says ISO-8859-1 while the
// tree holds UTF-8. Everything beyond ASCII is then written as a character reference, and so
// are tabs and line breaks (a parser turns literal ones into blanks), so that any value reads
// back exactly as it was saved. Bytes that are not valid UTF-8 are taken as ISO-8859-1
// characters; other control characters cannot appear in an XML document at all and are left
// out.
void appendEncoded(std::string& out, const std::string& text, bool forFile = false) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (c) {
            case '&':
                out += "&amp;";
                continue;
            case '"':
                out += "&quot;";
                continue;
            case '<':
                out += "&lt;";
                continue;
            case '>':
                out += "&gt;";
                continue;
            default:
                break;
        }
        unsigned char byte = static_cast<unsigned char>(c);
        if (!forFile || (byte >= 0x20 && byte < 0x80)) {
            out += c;
        } else if (byte == '\t' || byte == '\n' || byte == '\r') {
            appendReference(out, byte);
        } else if (byte >= 0x80) {
            unsigned long codePoint;
            std::size_t length = decodeUtf8(text, i, codePoint);
            if (length == 0) {
                appendReference(out, byte);
            } else {
                appendReference(out, codePoint);
                i += length - 1;
            }
        }
    }
}

// A name for a saved document: names cannot use character references, so each character is
// written as its ISO-8859-1 byte, as the declaration says. Bytes that are not valid UTF-8 are
// taken as ISO-8859-1 characters already, as in values. A character beyond ISO-8859-1 cannot
// be written at all: the save is refused with a message naming the file and the name.
void appendName(std::string& out, const std::string& name, const char* filename) {
    if (!filename) {
        out += name;
        return;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(name[i]);
        unsigned long codePoint = byte;
        std::size_t length = byte >= 0x80 ? decodeUtf8(name, i, codePoint) : 0;
        if (length == 0) {
            out += name[i];
            continue;
        }
        if (codePoint > 0xFF)
            throw "Could not save XML file \"" + std::string(filename) + "\": the name \"" + name +
                "\" cannot be written in ISO-8859-1";
        out += static_cast<char>(codePoint);
        i += length - 1;
    }
}

// Appends instead of returning, so a deep tree is not copied once per level. `filename` is
// given when the text goes into that file (see appendName), null for toString().
void appendNode(std::string& out, const Node& node, int indent, const char* filename) {
    debug::MessageScope scope("Node::toString()");
    out.append(static_cast<std::size_t>(indent > 0 ? indent : 0), ' ');
    out += '<';
    appendName(out, node.name, filename);
    for (const auto& attribute : node.attributes) {
        out += ' ';
        appendName(out, attribute.first, filename);
        out += "=\"";
        appendEncoded(out, attribute.second, true);
        out += '"';
    }
    if (node.children.empty()) {
        out += "/>\n";
        return;
    }
    out += ">\n";
    for (const Node* child : node.children)
        appendNode(out, *child, indent + 2, filename);
    out.append(static_cast<std::size_t>(indent > 0 ? indent : 0), ' ');
    out += "</";
    appendName(out, node.name, filename);
    out += ">\n";
}

std::string saveError(const std::string& what, const std::string& filename, int err) {
    return what + " \"" + filename + "\": " + std::strerror(err);
}

// Writes all of `data`, retrying short writes and interrupted calls.
bool writeAll(int fd, const std::string& data) {
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// The file that the save really replaces: a symbolic link is followed, so saving through it
// updates the file it points to instead of replacing the link by a plain file.
std::string saveTarget(const char* filename) {
    struct stat st;
    if (::lstat(filename, &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(filename, nullptr);
        if (real) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return filename;
}

// Permissions of the new file: those of the file it replaces, or what creating it would give.
mode_t saveMode(const std::string& target) {
    struct stat st;
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncDirectory(const std::string& target) {
    std::string::size_type slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Best effort: the data is already safe in the renamed file; this only hurries the rename.
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string Node::toString(int indent) const {
    std::string out;
    appendNode(out, *this, indent, nullptr);
    return out;
}

void Node::saveXML(const char* filename) const {
    debug::MessageScope scope("Node::saveXML()");
    if (!filename || !*filename)
        throw std::string("Could not save XML file \"\": no file name");

    std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n";
    appendNode(text, *this, 0, filename);

    const std::string target = saveTarget(filename);
    std::string temp = target + ".XXXXXX";
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0)
        throw saveError("Could not save XML file", filename, errno);

    int err = 0;
    if (::fchmod(fd, saveMode(target)) != 0 || !writeAll(fd, text) || ::fsync(fd) != 0) {
        err = errno;
    }
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        throw saveError("Could not save XML file", filename, err);
    }
    syncDirectory(target);
}

std::string encode(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    appendEncoded(out, text);
    return out;
}

}  // namespace xml
}  // namespace lumo

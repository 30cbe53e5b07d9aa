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
    for (; attrs[0] && attrs[1]; attrs += 2) {
        // Built in place from the parser's strings: no temporary key. expat rejects repeated
        // names, so the fallback assignment only serves hand-made arrays.
        auto slot = attributes.emplace(attrs[0], attrs[1]);
        if (!slot.second)
            slot.first->second = attrs[1];
    }
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

void appendEncoded(std::string& out, const std::string& text) {
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
}

// Appends instead of returning, so a deep tree is not copied once per level.
void appendNode(std::string& out, const Node& node, int indent) {
    debug::MessageScope scope("Node::toString()");
    out.append(static_cast<std::size_t>(indent > 0 ? indent : 0), ' ');
    out += '<';
    out += node.name;
    for (const auto& attribute : node.attributes) {
        out += ' ';
        out += attribute.first;
        out += "=\"";
        appendEncoded(out, attribute.second);
        out += '"';
    }
    if (node.children.empty()) {
        out += "/>\n";
        return;
    }
    out += ">\n";
    for (const Node* child : node.children)
        appendNode(out, *child, indent + 2);
    out.append(static_cast<std::size_t>(indent > 0 ? indent : 0), ' ');
    out += "</";
    out += node.name;
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
    appendNode(out, *this, indent);
    return out;
}

void Node::saveXML(const char* filename) const {
    debug::MessageScope scope("Node::saveXML()");
    if (!filename || !*filename)
        throw std::string("Could not save XML file \"\": no file name");

    std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n";
    appendNode(text, *this, 0);

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

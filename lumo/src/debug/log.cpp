#include "debug/log.hpp"

#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "debug/message_stack.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace debug {

const char* const LEVEL_NAME[6] = {"none", "critical", "error", "warning", "info", "debug"};

Groups groups;

const DebugGroupName defDebugGroups[] = {{dbgCore, "core"},
                                         {dbgControls, "controls"},
                                         {dbgGui, "gui"},
                                         {dbgDdd, "ddd"},
                                         {dbgMath, "math"},
                                         {dbgSprites, "sprites"},
                                         {dbgImages, "images"},
                                         {dbgFonts, "fonts"},
                                         {dbgXml, "xml"},
                                         {dbgAudio, "audio"},
                                         {dbgCollision, "collision"},
                                         {dbgAnimations, "animations"},
                                         {dbgResources, "resources"},
                                         {0, nullptr}};

namespace {
std::mutex& logMutex() {
    static std::mutex m;
    return m;
}
}  // namespace

void nameFrameworkGroups() {
    std::lock_guard<std::mutex> lock(logMutex());
    for (const DebugGroupName* g = defDebugGroups; g->group != 0; ++g)
        groups[g->group].name = std::string("lumo:") + g->name;
}

DebugLevel debugLevel(const char* name) {
    if (name)
        for (int i = dlNone; i <= dlDebug; ++i)
            if (std::strcmp(LEVEL_NAME[i], name) == 0)
                return static_cast<DebugLevel>(i);
    return dlNone;
}

void vmessagef(DebugLevel level, int group, const char* fmt, va_list args) {
    MessageScope scope("messagef()");
    if (!fmt)
        return;

    std::string prefix;
    {
        std::lock_guard<std::mutex> lock(logMutex());
        const Group& g = groups[group];
        if (g.level < level)
            return;
        prefix = "[" + g.name + "] (" + LEVEL_NAME[level] + ") ";
    }

    // Build the whole line first, then write it with one call, so that lines never interleave.
    char small[512];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0)
        n = 0;
    std::string line = prefix;
    if (static_cast<std::size_t>(n) < sizeof small) {
        line.append(small, n);
    } else {
        std::vector<char> big(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), fmt, args);
        line.append(big.data(), n);
    }
    line += '\n';

    std::lock_guard<std::mutex> lock(logMutex());
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

#define LUMO_LOG_FORWARD(fn, lvl)              \
    void fn(int group, const char* fmt, ...) { \
        va_list args;                          \
        va_start(args, fmt);                   \
        vmessagef(lvl, group, fmt, args);      \
        va_end(args);                          \
    }
LUMO_LOG_FORWARD(critical, dlCritical)
LUMO_LOG_FORWARD(error, dlError)
LUMO_LOG_FORWARD(warning, dlWarning)
LUMO_LOG_FORWARD(info, dlInfo)
LUMO_LOG_FORWARD(debug, dlDebug)
#undef LUMO_LOG_FORWARD

void Groups::getSettingsFromNode(const xml::Node* node) {
    if (!node)
        return;
    std::lock_guard<std::mutex> lock(logMutex());
    for (const xml::Node* child : node->children) {
        if (child->name != "group")
            continue;
        const std::string* name = child->getAttribute("name");
        const std::string* level = child->getAttribute("level");
        if (!name || !level)
            continue;
        for (auto& entry : *this)
            if (entry.second.name == *name)
                entry.second.level = debugLevel(level->c_str());
    }
}

void Groups::loadSettings(const char* filename) {
    MessageScope scope("Groups::loadSettings()");
    std::unique_ptr<xml::Node> root(xml::loadXML(filename));
    if (root && root->name == "debug")
        getSettingsFromNode(root.get());
}

}  // namespace debug
}  // namespace lumo

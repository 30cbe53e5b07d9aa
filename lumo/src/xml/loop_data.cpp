#include "xml/loop_data.hpp"

#include <climits>

#include "debug/log.hpp"
#include "lumo/convert.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace xml {

LoopData::LoopData(std::string var_, int from, int to, int step_, int digits_)
    : var(std::move(var_)), value(from), max(to), step(step_), digits(digits_) {}

bool LoopData::advance() {
    if (value == max || step == 0)
        return false;
    // Computed wide so that a step near the int range cannot wrap past `max`.
    long long next = static_cast<long long>(value) + step;
    if (step > 0 ? next > max : next < max)
        return false;
    value = static_cast<int>(next);
    return true;
}

std::string LoopData::getString() const {
    // No number needs more than a few digits; a wild width from a data file must not make
    // every entry allocate a huge string.
    return toStr(value, clamp(digits, 0, 64), '0');
}

std::string LoopStack::expand(std::string text) const {
    for (const LoopData& loop : loops) {
        const std::string token = loop.token();
        const std::string value = loop.getString();
        // A value never holds brackets, so every replacement removes a bracket pair and the
        // search ends. It resumes where a new token could have been formed by the replacement,
        // which finds what a search from the start would.
        std::string::size_type pos = text.find(token);
        while (pos != std::string::npos) {
            text.replace(pos, token.size(), value);
            pos = text.find(token, pos >= token.size() ? pos - token.size() + 1 : 0);
        }
    }
    return text;
}

namespace {

struct ActiveLoop {
    ActiveLoop(LoopStack& s, LoopData loop) : stack(s) { stack.loops.push_back(std::move(loop)); }
    ~ActiveLoop() { stack.loops.pop_back(); }
    ActiveLoop(const ActiveLoop&) = delete;
    ActiveLoop& operator=(const ActiveLoop&) = delete;
    LoopStack& stack;
};

// Out-of-range numbers saturate instead of wrapping into surprising values.
int intAttribute(const Node& node, const char* name, int def) {
    return static_cast<int>(clamp<long>(node.getAttributeLong(name, def), INT_MIN, INT_MAX));
}

}  // namespace

bool processLoop(const Node& loop, LoopStack& loops, int group, int missingVarGroup,
                 const std::function<void(const Node& child)>& forChild) {
    const std::string* var = loop.getAttribute("var");
    if (!var) {
        debug::error(missingVarGroup, "No variable specified for loop. Skipping loop.");
        return false;
    }
    int from = intAttribute(loop, "from", 0);
    int to = intAttribute(loop, "to", 0);
    int step = intAttribute(loop, "step", 1);
    int digits = intAttribute(loop, "digits", 0);
    if (step == 0) {
        debug::error(group, "Step size 0 invalid: %s. Skipping loop.", var->c_str());
        return false;
    }
    if (!((step > 0 && from < to) || (step < 0 && from > to))) {
        debug::error(group, "Loop range invalid: %s [%d;%d] (step: %d). Skipping loop.",
                     var->c_str(), from, to, step);
        return false;
    }

    ActiveLoop active(loops, LoopData(*var, from, to, step, digits));
    // The vector may grow under nested loops, so the entry is found again for each advance.
    const std::size_t index = loops.loops.size() - 1;
    do {
        for (const Node* child : loop.children)
            forChild(*child);
    } while (loops.loops[index].advance());
    return true;
}

bool processLoop(const Node& loop, LoopStack& loops, int group,
                 const std::function<void(const Node& child)>& forChild) {
    return processLoop(loop, loops, group, group, forChild);
}

}  // namespace xml
}  // namespace lumo

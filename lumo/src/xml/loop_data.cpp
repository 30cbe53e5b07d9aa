#include "xml/loop_data.hpp"

#include <algorithm>
#include <climits>

#include "debug/log.hpp"
#include "lumo/convert.hpp"
#include "xml/node.hpp"
#include "xml/source_file.hpp"

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

// Reads a `loop` element; false for an invalid one, which is logged when `log` is set.
bool readLoop(const Node& loop, int group, int missingVarGroup, bool log, LoopData& out) {
    const std::string* var = loop.getAttribute("var");
    if (!var) {
        if (log)
            debug::error(missingVarGroup, "No variable specified for loop. Skipping loop.");
        return false;
    }
    int from = intAttribute(loop, "from", 0);
    int to = intAttribute(loop, "to", 0);
    int step = intAttribute(loop, "step", 1);
    int digits = intAttribute(loop, "digits", 0);
    if (step == 0) {
        if (log)
            debug::error(group, "Step size 0 invalid: %s. Skipping loop.", var->c_str());
        return false;
    }
    if (!((step > 0 && from < to) || (step < 0 && from > to))) {
        if (log)
            debug::error(group, "Loop range invalid: %s [%d;%d] (step: %d). Skipping loop.",
                         var->c_str(), from, to, step);
        return false;
    }
    out = LoopData(*var, from, to, step, digits);
    return true;
}

typedef unsigned long long Count;
const Count OVER_LIMIT = static_cast<Count>(MAX_LOOP_ENTRIES) + 1;

Count loopEntries(const Node& loop);

// The entries that reading `nodes` generates: one per element and its own content, and what
// the loops among them generate. Saturates at OVER_LIMIT.
Count contentEntries(const Node::Nodes& nodes) {
    Count total = 0;
    for (const Node* node : nodes) {
        total += node->name == "loop" ? loopEntries(*node) : 1 + contentEntries(node->children);
        if (total >= OVER_LIMIT)
            return OVER_LIMIT;
    }
    return total;
}

// The entries one expansion of `loop` generates; every pass counts as one at least, so an empty
// loop over a huge range is too large as well. An invalid loop generates nothing.
Count loopEntries(const Node& loop) {
    LoopData data;
    if (!readLoop(loop, 0, 0, false, data))
        return 0;
    const long long span = static_cast<long long>(data.max) - data.value;
    const Count passes = static_cast<Count>(span / data.step) + 1;
    const Count perPass = std::max<Count>(1, contentEntries(loop.children));
    // At most 2^32 passes times at most OVER_LIMIT: far from overflowing.
    return std::min(OVER_LIMIT, passes * perPass);
}

}  // namespace

bool processLoop(const Node& loop, LoopStack& loops, int group, int missingVarGroup,
                 const std::function<void(const Node& child)>& forChild) {
    LoopData data;
    if (!readLoop(loop, group, missingVarGroup, true, data))
        return false;
    // An outermost loop is measured with everything nested in it before it runs, so that no
    // range or depth of nesting makes loading hang or exhaust memory.
    if (loops.empty() && loopEntries(loop) > static_cast<Count>(MAX_LOOP_ENTRIES)) {
        debug::error(group,
                     "Loop %s [%d;%d] (step: %d) in \"%s\" would generate more than %d entries. "
                     "Skipping loop.",
                     data.var.c_str(), data.value, data.max, data.step, sourceFileForMessage(),
                     MAX_LOOP_ENTRIES);
        return false;
    }

    ActiveLoop active(loops, std::move(data));
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

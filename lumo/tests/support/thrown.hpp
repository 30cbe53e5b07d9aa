#pragma once
// The message a call throws, for tests of error texts.

#include <functional>
#include <string>

namespace lumo {
namespace testing {

/// The std::string that `f` throws, or "(nothing thrown)" when it returns.
inline std::string thrown(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::string& message) {
        return message;
    }
    return "(nothing thrown)";
}

}  // namespace testing
}  // namespace lumo

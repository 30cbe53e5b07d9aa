#pragma once
// The framework's version and the moment this library was compiled, as logged at start-up.

#include <string>

namespace lumo {

/// Major and minor version joined by ".", e.g. "0.0".
std::string getVersion();
/// The compiler's date of compilation, e.g. "Jun  3 2005".
std::string getBuildDate();
/// The compiler's time of compilation, e.g. "01:47:55".
std::string getBuildTime();
/// version + " (" + date + ", " + time + ")".
std::string getFullVersion();

}  // namespace lumo

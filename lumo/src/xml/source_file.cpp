#include "xml/source_file.hpp"

#include <utility>

namespace lumo {
namespace xml {

namespace {
thread_local std::string current;
}

SourceFileScope::SourceFileScope(std::string filename) : previous(std::move(current)) {
    current = std::move(filename);
}

SourceFileScope::~SourceFileScope() {
    current = std::move(previous);
}

const std::string& currentSourceFile() {
    return current;
}

const char* sourceFileForMessage() {
    return current.empty() ? "(unknown file)" : current.c_str();
}

}  // namespace xml
}  // namespace lumo

#pragma once
// The file a loader is reading, for messages about its content: a tree does not know the file
// it came from, and the loaders that walk it are handed only the tree and a directory.

#include <string>

namespace lumo {
namespace xml {

/// Makes `filename` the current source file of this thread for the scope's lifetime; scopes
/// nest, and the previous file is current again afterwards.
class SourceFileScope {
  public:
    explicit SourceFileScope(std::string filename);
    ~SourceFileScope();
    SourceFileScope(const SourceFileScope&) = delete;
    SourceFileScope& operator=(const SourceFileScope&) = delete;

  private:
    std::string previous;
};

/// The file of the innermost SourceFileScope of this thread, or "" when there is none (a tree
/// built or loaded by other code).
const std::string& currentSourceFile();
/// currentSourceFile() for a message: "(unknown file)" when there is none.
const char* sourceFileForMessage();

}  // namespace xml
}  // namespace lumo

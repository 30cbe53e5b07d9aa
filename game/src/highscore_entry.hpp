#pragma once
// One row of the high-score table: a player's name and score.

#include <string>

#include "tools/highscore_table.hpp"

namespace lumo {
namespace xml {
class Node;
}
}  // namespace lumo

namespace pimwarden {

class HighscoreEntry {
  public:
    HighscoreEntry() = default;
    HighscoreEntry(std::string name, unsigned int score);

    /// Compares the scores only.
    bool operator>(const HighscoreEntry& other) const { return score > other.score; }
    /// "name" (default empty) and "score" (default 0).
    void getFromNode(const lumo::xml::Node* node);
    void putInNode(lumo::xml::Node* node) const;

    std::string name;
    unsigned int score = 0;
};

/// The ten best results.
typedef lumo::HighscoreTable<HighscoreEntry, 10> Highscores;

/// Reads `filename` into `table` when its root is `highscores` (any other root is ignored).
/// Throws the reader's message when the file cannot be read or parsed.
void loadHighscoreFile(Highscores& table, const std::string& filename);
/// Writes all rows to `filename`, replacing it atomically. Throws the writer's message.
void saveHighscoreFile(const Highscores& table, const std::string& filename);
/// Renames `filename` to the first free name of the form `filename` + ".unreadable", then
/// ".unreadable-2", ... and returns the new name; "" when it could not be moved.
std::string keepFileAside(const std::string& filename);

}  // namespace pimwarden

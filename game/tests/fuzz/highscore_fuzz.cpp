// libFuzzer target for the high-score file: the input is "highscores.xml" read into the game's
// table as at start-up. Guarantees: a file that cannot be read leaves the table as it was, and
// a table that was read, saved as the game saves it, reads back the same.

#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.hpp"
#include "highscore_entry.hpp"

namespace {

using pimwarden::Highscores;

std::string describe(const Highscores& table) {
    std::string text;
    for (const auto& row : table.rows)
        text += std::to_string(row.score) + " \"" + row.name + "\"\n";
    return text;
}

Highscores startTable() {
    Highscores table;
    for (std::size_t i = 0; i < Highscores::size; ++i)
        table[i] = pimwarden::HighscoreEntry("start" + std::to_string(i),
                                             static_cast<unsigned int>(100 - i));
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = lumo::fuzzing::writeInput("highscores.xml", data, size);
    const std::string again = lumo::fuzzing::scratchDir() + "/saved.xml";
    const Highscores start = startTable();
    Highscores table = start;
    try {
        pimwarden::loadHighscoreFile(table, file);
    } catch (const std::string& message) {
        if (describe(table) != describe(start))
            lumo::fuzzing::violated("a failed read changed the table: " + message);
        return 0;
    }
    try {
        pimwarden::saveHighscoreFile(table, again);
    } catch (const std::string& message) {
        lumo::fuzzing::violated("a table read from a file cannot be saved: " + message);
    }
    Highscores reread;
    try {
        pimwarden::loadHighscoreFile(reread, again);
    } catch (const std::string& message) {
        lumo::fuzzing::violated("a saved table cannot be read: " + message);
    }
    if (describe(reread) != describe(table))
        lumo::fuzzing::violated("the saved table reads back as\n" + describe(reread) +
                                "instead of\n" + describe(table));
    return 0;
}

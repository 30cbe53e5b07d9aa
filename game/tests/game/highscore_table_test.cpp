// The high-score table: where a result goes, and the file it is kept in.

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "highscore_entry.hpp"
#include "pimwarden.hpp"
#include "support/temp_dir.hpp"
#include "xml/node.hpp"

namespace pimwarden {
namespace {

using lumo::testing::TempDir;

/// A table whose rows have the given scores (names "r0", "r1", ...).
Highscores tableOf(const std::vector<unsigned int>& scores) {
    Highscores t;
    for (std::size_t i = 0; i < scores.size(); ++i)
        t[i] = HighscoreEntry("r" + std::to_string(i), scores[i]);
    return t;
}

std::vector<unsigned int> scoresOf(const Highscores& t) {
    std::vector<unsigned int> s;
    for (const HighscoreEntry& e : t.rows)
        s.push_back(e.score);
    return s;
}

TEST(HighscoreTable, AddFindsTheRowAndShiftsTheRest) {
    const std::vector<unsigned int> full = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
    struct Case {
        std::vector<unsigned int> before;
        unsigned int score;
        int row;
        std::vector<unsigned int> after;
    } cases[] = {
        {{}, 5, 0, {5, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{}, 0, -1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {full, 10, -1, full},
        {full, 11, 9, {100, 90, 80, 70, 60, 50, 40, 30, 20, 11}},
        {full, 95, 1, {100, 95, 90, 80, 70, 60, 50, 40, 30, 20}},
        {full, 101, 0, {101, 100, 90, 80, 70, 60, 50, 40, 30, 20}},
        // A tie goes below the rows it equals.
        {{50, 50, 40}, 50, 2, {50, 50, 50, 40, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Highscores t = tableOf(c.before);
        EXPECT_EQ(t.rankOf(HighscoreEntry("new", c.score)), c.row) << c.score;
        EXPECT_EQ(t.add(HighscoreEntry("new", c.score)), c.row) << c.score;
        EXPECT_EQ(scoresOf(t), c.after) << c.score;
        if (c.row >= 0) {
            EXPECT_EQ(t[static_cast<std::size_t>(c.row)].name, "new");
        }
    }
}

TEST(HighscoreTable, FileAlwaysHoldsTenRowsAndReadsBackAsStored) {
    TempDir dir;
    Highscores t;
    t.add(HighscoreEntry("Ann & <Bo>", 42));
    t.add(HighscoreEntry("", 7));
    saveHighscoreFile(t, dir.file("h.xml"));

    std::unique_ptr<lumo::xml::Node> root(lumo::xml::loadXML(dir.file("h.xml").c_str()));
    ASSERT_EQ(root->name, "highscores");
    ASSERT_EQ(root->children.size(), 10u);
    EXPECT_EQ(root->children[0]->getAttribute("name", "?"), "Ann & <Bo>");
    EXPECT_EQ(root->children[0]->getAttribute("score", "?"), "42");
    EXPECT_EQ(root->children[9]->getAttribute("name", "?"), "");
    EXPECT_EQ(root->children[9]->getAttribute("score", "?"), "0");

    Highscores back;
    loadHighscoreFile(back, dir.file("h.xml"));
    EXPECT_EQ(back[0].name, "Ann & <Bo>");
    EXPECT_EQ(scoresOf(back), scoresOf(t));
}

TEST(HighscoreTable, ReadingTakesTheFirstTenEntriesAndKeepsRowsWithoutOne) {
    TempDir dir;
    std::string twelve = "<highscores>";
    for (int i = 0; i < 12; ++i)
        twelve += "<entry name=\"n" + std::to_string(i) + "\" score=\"" + std::to_string(100 - i) +
                  "\"/>" + (i == 3 ? "<other score=\"999\"/>" : "");
    twelve += "</highscores>";
    struct Case {
        std::string text;
        std::vector<unsigned int> scores;
        std::string name3;
    } cases[] = {
        {twelve, {100, 99, 98, 97, 96, 95, 94, 93, 92, 91}, "n3"},
        // Rows 3 to 9 keep what the table held; stored order is not sorted.
        {"<highscores><entry name=\"a\" score=\"1\"/><entry score=\"0x10\"/>"
         "<entry name=\"c\"/></highscores>",
         {1, 16, 0, 7, 7, 7, 7, 7, 7, 7},
         "old"},
        // Another root is ignored.
        {"<scores><entry name=\"x\" score=\"5\"/></scores>", {7, 7, 7, 7, 7, 7, 7, 7, 7, 7}, "old"},
    };
    for (const Case& c : cases) {
        Highscores t = tableOf({7, 7, 7, 7, 7, 7, 7, 7, 7, 7});
        t[3].name = "old";
        loadHighscoreFile(t, dir.write("h.xml", c.text));
        EXPECT_EQ(scoresOf(t), c.scores) << c.text;
        EXPECT_EQ(t[3].name, c.name3) << c.text;
    }
    Highscores t;
    EXPECT_THROW(loadHighscoreFile(t, dir.write("bad.xml", "<highscores><entry")), std::string);
    EXPECT_THROW(loadHighscoreFile(t, dir.file("missing.xml")), std::string);
}

TEST(DataDirectory, RelativeIsTakenFromTheProgramsDirectory) {
    EXPECT_EQ(resolveDataDirectory("/usr/share/games/pimwarden/"), "/usr/share/games/pimwarden/");
    const std::string installed = resolveDataDirectory("../share/games/pimwarden/");
    char program[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", program, sizeof program - 1), 0);
    const std::string dir(program, std::string(program).rfind('/') + 1);
    EXPECT_EQ(installed, dir + "../share/games/pimwarden/");
}

}  // namespace
}  // namespace pimwarden

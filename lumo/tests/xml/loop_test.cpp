#include "xml/loop_data.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "debug/log.hpp"
#include "support/temp_dir.hpp"
#include "xml/node.hpp"
#include "xml/source_file.hpp"

using lumo::xml::LoopData;
using lumo::xml::LoopStack;
using lumo::xml::Node;

namespace {

std::vector<int> values(LoopData loop) {
    std::vector<int> seen{loop.value};
    while (loop.advance() && seen.size() < 100)
        seen.push_back(loop.value);
    return seen;
}

// Walks `entries` the way a bank loader walks its element, throwing at the entry `throwAt`;
// gives the expanded `f` of each entry, each followed by a blank, and what was logged.
std::pair<std::string, std::string> load(const std::string& entries,
                                         const char* throwAt = nullptr) {
    lumo::testing::TempDir dir;
    std::unique_ptr<Node> bank(
        lumo::xml::loadXML(dir.write("bank.xml", "<images>" + entries + "</images>").c_str()));
    lumo::xml::SourceFileScope source("bank.xml");
    LoopStack loops;
    std::string files;
    std::function<void(const Node&)> entry = [&](const Node& node) {
        if (node.name == "loop") {
            lumo::xml::processLoop(node, loops, lumo::dbgAnimations, lumo::dbgImages, entry);
        } else {
            files += loops.expand(node.getAttribute("f", "")) + " ";
            if (throwAt && files.find(throwAt) != std::string::npos)
                throw std::string("bad entry");
        }
    };
    ::testing::internal::CaptureStdout();
    try {
        for (const Node* child : bank->children)
            entry(*child);
    } catch (const std::string& message) {
        files += message;
    }
    std::string log = ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(loops.empty()) << entries;
    return {files, log};
}

}  // namespace

TEST(LoopData, AdvancesUpToTheLastValueThatDoesNotPassMax) {
    EXPECT_EQ(values(LoopData()), std::vector<int>{0});
    const std::pair<LoopData, std::vector<int>> cases[] = {
        {{"i", 1, 3, 1, 0}, {1, 2, 3}},
        {{"i", 3, 1, -1, 0}, {3, 2, 1}},
        {{"i", 1, 4, 2, 0}, {1, 3}},
        {{"i", 10, 0, -4, 0}, {10, 6, 2}},
        {{"i", 1, 4, 0, 0}, {1}},
        {{"i", 5, 1, 1, 0}, {5}},
        {{"i", INT_MAX - 3, INT_MAX, 2, 0}, {INT_MAX - 3, INT_MAX - 1}},
        {{"i", INT_MIN + 3, INT_MIN, INT_MIN, 0}, {INT_MIN + 3}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(values(c.first), c.second) << c.first.value << " to " << c.first.max;

    EXPECT_EQ(LoopData("i", 7, 9, 1, 3).getString(), "007");
    EXPECT_EQ(LoopData("i", 5, 9, 1, 0).getString(), "5");
    EXPECT_EQ(LoopData("i", 5, 9, 1, 1000000000).getString().size(), 64u);
}

TEST(LoopStack, ExpandsTokensOutermostFirstUntilNoneIsLeft) {
    LoopStack loops;
    EXPECT_EQ(loops.expand("a[i]b"), "a[i]b");
    loops.loops.emplace_back("a", 2, 9, 1, 0);
    loops.loops.emplace_back("b", 7, 9, 1, 2);
    EXPECT_EQ(loops.expand("tile[a]_[b]/[a][a].png [c]"), "tile2_07/22.png [c]");
    // A replacement that forms a new token gets that one replaced too, and outer values are in
    // place before inner tokens are searched.
    loops.loops = {LoopData("1", 1, 9, 1, 0), LoopData("x", 3, 9, 1, 0),
                   LoopData("y3", 8, 9, 1, 0)};
    EXPECT_EQ(loops.expand("[[1]]x[[[1]]]-[y[x]]"), "1x1-8");
}

TEST(LoopStack, ProcessLoopGeneratesEntriesOrLogsAndSkipsInvalidLoops) {
    lumo::debug::nameFrameworkGroups();
    const std::string skip = " Skipping loop.\n";
    const std::string range = "[lumo:animations] (error) Loop range invalid: ";
    const std::pair<std::string, std::pair<std::string, std::string>> cases[] = {
        {"<loop var='i' from='1' to='3' digits='2'><e f='walk[i].png'/></loop><e f='x[i]'/>",
         {"walk01.png walk02.png walk03.png x[i] ", ""}},
        {"<loop var='a' to='1'><loop var='b' to='2'><e f='[a]_[b]'/></loop><e f='row[a]'/></loop>",
         {"0_0 0_1 0_2 row0 1_0 1_1 1_2 row1 ", ""}},
        {"<loop from='1' to='3'><e/></loop><e f='after'/>",
         {"after ", "[lumo:images] (error) No variable specified for loop." + skip}},
        {"<loop var='z' from='1' to='3' step='0'><e/></loop>",
         {"", "[lumo:animations] (error) Step size 0 invalid: z." + skip}},
        {"<loop var='same' from='1' to='1'><e/></loop>",
         {"", range + "same [1;1] (step: 1)." + skip}},
        {"<loop var='up' from='0x10' to='99' step='-2'><e/></loop>",
         {"", range + "up [16;99] (step: -2)." + skip}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(load(c.first), c.second) << c.first;

    // Expansions beyond 100,000 entries in all are skipped whole, whatever their shape.
    std::string nested40, closing;
    for (int i = 0; i < 40; ++i)
        nested40 += "<loop var='v" + std::to_string(i) + "' to='1'>", closing += "</loop>";
    const std::string tooLarge = "[lumo:animations] (error) Loop ";
    const std::string entries = " in \"bank.xml\" would generate more than 100000 entries.";
    const std::pair<std::string, std::pair<std::string, std::string>> large[] = {
        {"<loop var='h' to='2000000000'/><e f='after'/>",
         {"after ", tooLarge + "h [0;2000000000] (step: 1)" + entries + skip}},
        {nested40 + "<e/>" + closing, {"", tooLarge + "v0 [0;1] (step: 1)" + entries + skip}},
        {"<loop var='a' to='999'><e f=''/><loop var='b' to='99'><e/></loop></loop>",
         {"", tooLarge + "a [0;999] (step: 1)" + entries + skip}},
        {"<loop var='w' from='9' to='-2147483648' step='-1'><e/></loop>",
         {"", tooLarge + "w [9;-2147483648] (step: -1)" + entries + skip}},
    };
    for (const auto& c : large)
        EXPECT_EQ(load(c.first), c.second) << c.first.substr(0, 60);
    // Exactly at the limit runs.
    auto [files, log] = load("<loop var='a' to='999'><loop var='b' to='99'><e/></loop></loop>");
    EXPECT_EQ(std::count(files.begin(), files.end(), ' '), 100000);
    EXPECT_EQ(log, "");

    // An entry that throws inside nested loops leaves no loop active.
    EXPECT_EQ(
        load("<loop var='a' to='2'><loop var='b' to='2'><e f='[a][b]'/></loop></loop>", "11").first,
        "00 01 02 10 11 bad entry");
}

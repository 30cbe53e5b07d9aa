#include "xml/loop_data.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "debug/log.hpp"
#include "xml/node.hpp"

using lumo::xml::LoopData;
using lumo::xml::LoopStack;
using lumo::xml::Node;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

std::vector<int> values(LoopData loop) {
    std::vector<int> seen{loop.value};
    while (loop.advance() && seen.size() < 100)
        seen.push_back(loop.value);
    return seen;
}

Node* element(const char* name, std::initializer_list<std::pair<const char*, const char*>> attrs) {
    std::vector<const char*> flat;
    for (const auto& a : attrs) {
        flat.push_back(a.first);
        flat.push_back(a.second);
    }
    flat.push_back(nullptr);
    return new Node(name, flat.data());
}

// Collects the expanded `file` of every entry, the way a bank loader walks its element.
struct Loader {
    void entries(const Node& parent) {
        for (const Node* child : parent.children)
            entry(*child);
    }
    void entry(const Node& node) {
        if (node.name == "loop") {
            lumo::xml::processLoop(node, loops, lumo::dbgAnimations, lumo::dbgImages,
                                   [this](const Node& child) { entry(child); });
        } else {
            files.push_back(loops.expand(node.getAttribute("file", "")));
        }
    }
    LoopStack loops;
    std::vector<std::string> files;
};

std::vector<std::string> load(const Node& bank, std::string* log = nullptr) {
    Loader loader;
    CaptureStdout();
    loader.entries(bank);
    std::string out = GetCapturedStdout();
    if (log)
        *log = out;
    EXPECT_TRUE(loader.loops.empty());
    return loader.files;
}

}  // namespace

TEST(LoopData, AdvancesUpToTheLastValueThatDoesNotPassMax) {
    LoopData none;
    EXPECT_EQ(none.var, "");
    EXPECT_EQ(none.value, 0);
    EXPECT_EQ(none.max, 0);
    EXPECT_EQ(none.step, 1);
    EXPECT_EQ(none.digits, 0);
    EXPECT_FALSE(none.advance());
    EXPECT_EQ(none.value, 0);

    EXPECT_EQ(values(LoopData("i", 1, 3, 1, 0)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(values(LoopData("i", 3, 1, -1, 0)), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(values(LoopData("i", 1, 4, 2, 0)), (std::vector<int>{1, 3}));
    EXPECT_EQ(values(LoopData("i", 10, 0, -4, 0)), (std::vector<int>{10, 6, 2}));
    EXPECT_EQ(values(LoopData("i", 1, 4, 0, 0)), (std::vector<int>{1}));
    EXPECT_EQ(values(LoopData("i", 5, 1, 1, 0)), (std::vector<int>{5}));
    EXPECT_EQ(values(LoopData("i", INT_MAX - 3, INT_MAX, 2, 0)),
              (std::vector<int>{INT_MAX - 3, INT_MAX - 1}));
    EXPECT_EQ(values(LoopData("i", INT_MIN + 3, INT_MIN, INT_MIN, 0)),
              (std::vector<int>{INT_MIN + 3}));

    EXPECT_EQ(LoopData("i", 7, 9, 1, 3).getString(), "007");
    EXPECT_EQ(LoopData("i", 1234, 9, 1, 2).getString(), "1234");
    EXPECT_EQ(LoopData("i", 5, 9, 1, 0).getString(), "5");
    EXPECT_EQ(LoopData("i", 5, 9, 1, 1000000000).getString().size(), 64u);
}

TEST(LoopStack, ExpandsTokensOutermostFirstUntilNoneIsLeft) {
    LoopStack loops;
    EXPECT_EQ(loops.expand("a[i]b"), "a[i]b");
    loops.loops.emplace_back("a", 2, 9, 1, 0);
    loops.loops.emplace_back("b", 7, 9, 1, 2);
    EXPECT_EQ(loops.expand("tile[a]_[b]/[a][a].png [c]"), "tile2_07/22.png [c]");
    // A replacement that forms a new token gets that one replaced too.
    LoopStack tricky;
    tricky.loops.emplace_back("1", 1, 9, 1, 0);
    EXPECT_EQ(tricky.expand("[[1]]x[[[1]]]"), "1x1");
    // Outer values are in place before inner tokens are searched.
    LoopStack chained;
    chained.loops.emplace_back("x", 3, 9, 1, 0);
    chained.loops.emplace_back("y3", 8, 9, 1, 0);
    EXPECT_EQ(chained.expand("[y[x]]"), "8");
    // Many tokens in a long text stay cheap.
    std::string many;
    for (int i = 0; i < 20000; ++i)
        many += "[a]";
    EXPECT_EQ(loops.expand(many), std::string(20000, '2'));
}

TEST(LoopStack, ProcessLoopGeneratesNumberedEntries) {
    Node bank("images", nullptr);
    Node* walk = element("loop", {{"var", "i"}, {"from", "1"}, {"to", "3"}, {"digits", "2"}});
    *walk += element("image", {{"file", "walk[i].png"}});
    bank += walk;
    Node* down = element("loop", {{"var", "d"}, {"from", "3"}, {"to", "1"}, {"step", "-1"}});
    *down += element("image", {{"file", "down[d]"}});
    bank += down;
    Node* odd = element("loop", {{"var", "o"}, {"from", "1"}, {"to", "4"}, {"step", "2"}});
    *odd += element("image", {{"file", "odd[o]"}});
    bank += odd;
    bank += element("image", {{"file", "plain[i]"}});

    EXPECT_EQ(load(bank),
              (std::vector<std::string>{"walk01.png", "walk02.png", "walk03.png", "down3", "down2",
                                        "down1", "odd1", "odd3", "plain[i]"}));

    Node grid("images", nullptr);
    Node* outer = element("loop", {{"var", "a"}, {"from", "0"}, {"to", "1"}});
    Node* inner = element("loop", {{"var", "b"}, {"from", "0"}, {"to", "2"}});
    *inner += element("image", {{"file", "tile[a]_[b]"}});
    *outer += inner;
    *outer += element("image", {{"file", "row[a]"}});
    grid += outer;
    EXPECT_EQ(load(grid), (std::vector<std::string>{"tile0_0", "tile0_1", "tile0_2", "row0",
                                                    "tile1_0", "tile1_1", "tile1_2", "row1"}));
}

TEST(LoopStack, InvalidLoopsAreLoggedAndSkipped) {
    lumo::debug::nameFrameworkGroups();
    Node bank("images", nullptr);
    const std::vector<Node*> invalid = {
        element("loop", {{"from", "1"}, {"to", "3"}}),
        element("loop", {{"var", "z"}, {"from", "1"}, {"to", "3"}, {"step", "0"}}),
        element("loop", {{"var", "same"}, {"from", "1"}, {"to", "1"}}),
        element("loop", {{"var", "back"}, {"from", "5"}, {"to", "1"}}),
        element("loop", {{"var", "up"}, {"from", "0x10"}, {"to", "99"}, {"step", "-2"}}),
    };
    for (Node* loop : invalid) {
        *loop += element("image", {{"file", "never"}});
        bank += loop;
    }
    bank += element("image", {{"file", "after"}});

    std::string log;
    EXPECT_EQ(load(bank, &log), std::vector<std::string>{"after"});
    EXPECT_EQ(log,
              "[lumo:images] (error) No variable specified for loop. Skipping loop.\n"
              "[lumo:animations] (error) Step size 0 invalid: z. Skipping loop.\n"
              "[lumo:animations] (error) Loop range invalid: same [1;1] (step: 1). Skipping "
              "loop.\n"
              "[lumo:animations] (error) Loop range invalid: back [5;1] (step: 1). Skipping "
              "loop.\n"
              "[lumo:animations] (error) Loop range invalid: up [16;99] (step: -2). Skipping "
              "loop.\n");
}

TEST(LoopStack, ThrowingEntryLeavesNoActiveLoop) {
    Node outer("loop", nullptr);
    outer["var"] = "a";
    outer["to"] = "2";
    Node* inner = element("loop", {{"var", "b"}, {"to", "2"}});
    *inner += element("image", {{"file", "x"}});
    outer += inner;

    LoopStack loops;
    std::function<void(const Node&)> entry = [&](const Node& node) {
        if (node.name == "loop") {
            lumo::xml::processLoop(node, loops, lumo::dbgAnimations, entry);
        } else if (loops.expand("[a][b]") == "11") {
            throw std::string("bad entry");
        }
    };
    EXPECT_THROW(lumo::xml::processLoop(outer, loops, lumo::dbgAnimations, entry), std::string);
    EXPECT_TRUE(loops.empty());
}

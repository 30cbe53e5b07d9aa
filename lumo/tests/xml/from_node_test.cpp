// Readers in other modules that take their values from XML files.
#include <gtest/gtest.h>

#include <memory>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "lumo/types.hpp"
#include "support/temp_dir.hpp"
#include "xml/node.hpp"

using lumo::testing::TempDir;
using lumo::xml::Node;
namespace debug = lumo::debug;

TEST(ColorFromNode, ReadsCodeOrComponents) {
    TempDir dir;
    std::unique_ptr<Node> root(lumo::xml::loadXML(
        dir.write("colors.xml",
                  "<colors>\n"
                  "  <color code=\"FF000080\" red=\"0.25\"/>\n"
                  "  <color red=\"0.5\"/>\n"
                  "  <color red=\"0.1\" green=\"0.2\" blue=\"0.3\" alpha=\"0.4\"/>\n"
                  "  <color code=\"00ff00\"/>\n"
                  "</colors>\n")
            .c_str()));
    std::vector<lumo::Color> colors;
    for (const Node* node : root->children)
        colors.emplace_back(node);
    ASSERT_EQ(colors.size(), 4u);

    const lumo::Color expected[] = {lumo::Color(1, 0, 0, 128 / 255.0f), lumo::Color(0.5f, 0, 0, 1),
                                    lumo::Color(0.1f, 0.2f, 0.3f, 0.4f), lumo::Color(0, 0, 1, 0)};
    for (std::size_t i = 0; i < colors.size(); ++i) {
        EXPECT_FLOAT_EQ(colors[i].r, expected[i].r) << i;
        EXPECT_FLOAT_EQ(colors[i].g, expected[i].g) << i;
        EXPECT_FLOAT_EQ(colors[i].b, expected[i].b) << i;
        EXPECT_FLOAT_EQ(colors[i].a, expected[i].a) << i;
    }
    EXPECT_EQ(lumo::Color(static_cast<const Node*>(nullptr)), lumo::Color());
}

class DebugSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        debug::groups[60] = debug::Group("test:a", debug::dlDebug);
        debug::groups[61] = debug::Group("test:b", debug::dlDebug);
        debug::groups[62] = debug::Group("test:a", debug::dlInfo);
        size = debug::groups.size();
    }
    void TearDown() override {
        for (int g : {60, 61, 62})
            debug::groups.erase(g);
    }
    std::vector<debug::DebugLevel> levels() {
        return {debug::groups[60].level, debug::groups[61].level, debug::groups[62].level};
    }
    TempDir dir;
    std::size_t size = 0;
};

TEST_F(DebugSettings, LaterEntriesWinAndUnknownLevelsSilence) {
    debug::groups.loadSettings(dir.write("debug.xml",
                                         "<debug>\n"
                                         "  <group name=\"test:a\" level=\"warning\"/>\n"
                                         "  <group name=\"test:a\" level=\"error\"/>\n"
                                         "  <group name=\"test:b\" level=\"loud\"/>\n"
                                         "  <group name=\"test:b\"/>\n"
                                         "  <other name=\"test:b\" level=\"debug\"/>\n"
                                         "  <group name=\"test:nobody\" level=\"info\"/>\n"
                                         "</debug>\n")
                                   .c_str());
    // Every group of that name is set, whatever its number.
    EXPECT_EQ(levels(),
              (std::vector<debug::DebugLevel>{debug::dlError, debug::dlNone, debug::dlError}));
    EXPECT_EQ(debug::groups.size(), size) << "an unknown name creates no group";
}

TEST_F(DebugSettings, OtherRootsAndBadFilesChangeNothing) {
    const std::vector<debug::DebugLevel> before = levels();
    debug::groups.loadSettings(
        dir.write("other.xml", "<settings><group name=\"test:a\" level=\"none\"/></settings>")
            .c_str());
    EXPECT_EQ(levels(), before);

    std::size_t depth = debug::messageCount();
    std::string broken =
        dir.write("broken.xml", "<debug><group name=\"test:a\" level=\"none\"/>\n</dbg>");
    EXPECT_THROW(debug::groups.loadSettings(broken.c_str()), std::string);
    EXPECT_THROW(debug::groups.loadSettings(dir.file("missing.xml").c_str()), std::string);
    EXPECT_EQ(levels(), before) << "a document that fails half way applies nothing";
    EXPECT_EQ(debug::messageCount(), depth);

    debug::groups.getSettingsFromNode(nullptr);
    EXPECT_EQ(levels(), before);
}

// Readers in other modules that take their values from XML files.
#include <gtest/gtest.h>

#include <memory>

#include "debug/log.hpp"
#include "lumo/types.hpp"
#include "support/temp_dir.hpp"
#include "xml/node.hpp"

namespace debug = lumo::debug;

TEST(ColorFromNode, ReadsCodeOrComponents) {
    lumo::testing::TempDir dir;
    std::unique_ptr<lumo::xml::Node> root(
        lumo::xml::loadXML(dir.write("colors.xml",
                                     "<c><color code='FF000080' red='0.25'/><color code='00ff00'/>"
                                     "<color red='0.1' green='0.2' blue='0.3'/></c>")
                               .c_str()));
    const float expected[3][4] = {{1, 0, 0, 128 / 255.0f}, {0, 0, 1, 0}, {0.1f, 0.2f, 0.3f, 1}};
    for (int i = 0; i < 3; ++i) {
        lumo::Color c(root->children[i]);
        const float got[] = {c.r, c.g, c.b, c.a};
        for (int k = 0; k < 4; ++k)
            EXPECT_FLOAT_EQ(got[k], expected[i][k]) << i << " " << k;
    }
    EXPECT_EQ(lumo::Color(static_cast<const lumo::xml::Node*>(nullptr)), lumo::Color());
}

TEST(DebugSettings, LaterEntriesWinAndOtherFilesChangeNothing) {
    debug::groups[60] = debug::Group("test:a", debug::dlDebug);
    debug::groups[61] = debug::Group("test:b", debug::dlDebug);
    debug::groups[62] = debug::Group("test:a", debug::dlInfo);
    const std::size_t size = debug::groups.size();
    auto levels = [] {
        return std::vector<debug::DebugLevel>{debug::groups[60].level, debug::groups[61].level,
                                              debug::groups[62].level};
    };
    lumo::testing::TempDir dir;
    debug::groups.loadSettings(
        dir.write("other.xml", "<settings><group name='test:a' level='none'/></settings>").c_str());
    debug::groups.getSettingsFromNode(nullptr);
    EXPECT_EQ(levels(),
              (std::vector<debug::DebugLevel>{debug::dlDebug, debug::dlDebug, debug::dlInfo}));

    debug::groups.loadSettings(dir.write("debug.xml",
                                         "<debug><group name='test:a' level='warning'/>"
                                         "<group name='test:a' level='error'/>"
                                         "<group name='test:b' level='loud'/><group name='test:b'/>"
                                         "<other name='test:b' level='debug'/>"
                                         "<group name='test:nobody' level='info'/></debug>")
                                   .c_str());
    // Every group of that name is set, whatever its number; unknown levels silence.
    EXPECT_EQ(levels(),
              (std::vector<debug::DebugLevel>{debug::dlError, debug::dlNone, debug::dlError}));
    EXPECT_EQ(debug::groups.size(), size) << "an unknown name creates no group";
    for (int g : {60, 61, 62})
        debug::groups.erase(g);
}

#include "controls/key_names.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace lumo;

TEST(KeyNames, TableNamesEveryBoundKeyOnceBothWays) {
    const KeyNameMap& names = getKeyNameMap();
    const NameKeyMap& keys = getNameKeyMap();
    EXPECT_EQ(names.size(), 133u);
    // No two keys share a name, or the inverse would be shorter.
    EXPECT_EQ(keys.size(), 133u);
    for (const auto& entry : names) {
        ASSERT_FALSE(entry.second.empty()) << entry.first;
        EXPECT_EQ(strTo<SDLKey>(entry.second), entry.first) << entry.second;
        EXPECT_EQ(toStr(entry.first), entry.second);
        // Character keys are named by their own character, the right bracket excepted.
        if (entry.first >= 33 && entry.first <= 122 && entry.first != SDLK_RIGHTBRACKET) {
            EXPECT_EQ(entry.second, std::string(1, static_cast<char>(entry.first)));
        }
    }

    EXPECT_EQ(toStr(SDLK_RIGHTBRACKET), "}");
    EXPECT_EQ(toStr(SDLK_LEFTBRACKET), "[");
    EXPECT_EQ(toStr(SDLK_EXCLAIM), "!");
    EXPECT_EQ(toStr(SDLK_BACKQUOTE), "`");
    EXPECT_EQ(toStr(SDLK_z), "z");
    EXPECT_EQ(toStr(SDLK_RETURN), "return");
    EXPECT_EQ(toStr(SDLK_KP_ENTER), "enter");
    EXPECT_EQ(toStr(SDLK_ESCAPE), "esc");
    EXPECT_EQ(toStr(SDLK_KP_PERIOD), "pad_.");
    EXPECT_EQ(toStr(SDLK_KP0), "pad_0");
    EXPECT_EQ(toStr(SDLK_F15), "f15");
    EXPECT_EQ(toStr(SDLK_LSUPER), "lwin");
    EXPECT_EQ(toStr(SDLK_PRINT), "printscreen");
    EXPECT_EQ(toStr(SDLK_SCROLLOCK), "scrollock");
    EXPECT_EQ(toStr(SDLK_EURO), "euro");

    for (SDLKey unnamed : {SDLK_WORLD_0, SDLK_WORLD_95, SDLK_COMPOSE, SDLK_UNDO, SDLK_UNKNOWN})
        EXPECT_EQ(toStr(unnamed), "") << unnamed;
}

TEST(KeyNames, NamesOutsideTheTableThrowTheirOwnMessage) {
    for (const char* name : {"Enter", "]", "ESC", "", "pad_10", " a"}) {
        try {
            strTo<SDLKey>(name);
            ADD_FAILURE() << "no throw for \"" << name << "\"";
        } catch (const std::string& message) {
            EXPECT_EQ(message, std::string(name) + " is no valid key identifier.");
        }
    }
}

TEST(KeyNames, KeyStateTextsReadBackAndUnknownWordsMeanDefault) {
    for (KeyState s : {ctrlDefault, ctrlDown, ctrlUp, ctrlPressed})
        EXPECT_EQ(strTo<KeyState>(toStr(s)), s);
    EXPECT_EQ(toStr(ctrlDefault), "default");
    EXPECT_EQ(toStr(ctrlDown), "down");
    EXPECT_EQ(toStr(ctrlUp), "up");
    EXPECT_EQ(toStr(ctrlPressed), "pressed");
    EXPECT_EQ(strTo<KeyState>("Pressed"), ctrlDefault);
    EXPECT_EQ(strTo<KeyState>("held"), ctrlDefault);
    EXPECT_EQ(strTo<KeyState>(""), ctrlDefault);
}

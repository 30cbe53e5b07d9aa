#include "controls/key_names.hpp"

#include "debug/message_stack.hpp"

namespace lumo {

namespace {

// Keys named by the one character whose code is their key code.
const SDLKey CHARACTER_KEYS[] = {SDLK_EXCLAIM,   SDLK_QUOTEDBL,
                                 SDLK_HASH,      SDLK_DOLLAR,
                                 SDLK_AMPERSAND, SDLK_QUOTE,
                                 SDLK_LEFTPAREN, SDLK_RIGHTPAREN,
                                 SDLK_ASTERISK,  SDLK_PLUS,
                                 SDLK_COMMA,     SDLK_MINUS,
                                 SDLK_PERIOD,    SDLK_SLASH,
                                 SDLK_0,         SDLK_1,
                                 SDLK_2,         SDLK_3,
                                 SDLK_4,         SDLK_5,
                                 SDLK_6,         SDLK_7,
                                 SDLK_8,         SDLK_9,
                                 SDLK_COLON,     SDLK_SEMICOLON,
                                 SDLK_LESS,      SDLK_EQUALS,
                                 SDLK_GREATER,   SDLK_QUESTION,
                                 SDLK_AT,        SDLK_LEFTBRACKET,
                                 SDLK_BACKSLASH, SDLK_RIGHTBRACKET,
                                 SDLK_CARET,     SDLK_UNDERSCORE,
                                 SDLK_BACKQUOTE, SDLK_a,
                                 SDLK_b,         SDLK_c,
                                 SDLK_d,         SDLK_e,
                                 SDLK_f,         SDLK_g,
                                 SDLK_h,         SDLK_i,
                                 SDLK_j,         SDLK_k,
                                 SDLK_l,         SDLK_m,
                                 SDLK_n,         SDLK_o,
                                 SDLK_p,         SDLK_q,
                                 SDLK_r,         SDLK_s,
                                 SDLK_t,         SDLK_u,
                                 SDLK_v,         SDLK_w,
                                 SDLK_x,         SDLK_y,
                                 SDLK_z};

struct NamedKey {
    SDLKey key;
    const char* name;
};

const NamedKey NAMED_KEYS[] = {{SDLK_BACKSPACE, "backspace"},
                               {SDLK_TAB, "tab"},
                               {SDLK_CLEAR, "clear"},
                               {SDLK_RETURN, "return"},
                               {SDLK_PAUSE, "pause"},
                               {SDLK_ESCAPE, "esc"},
                               {SDLK_SPACE, "space"},
                               {SDLK_DELETE, "del"},
                               {SDLK_KP0, "pad_0"},
                               {SDLK_KP1, "pad_1"},
                               {SDLK_KP2, "pad_2"},
                               {SDLK_KP3, "pad_3"},
                               {SDLK_KP4, "pad_4"},
                               {SDLK_KP5, "pad_5"},
                               {SDLK_KP6, "pad_6"},
                               {SDLK_KP7, "pad_7"},
                               {SDLK_KP8, "pad_8"},
                               {SDLK_KP9, "pad_9"},
                               {SDLK_KP_PERIOD, "pad_."},
                               {SDLK_KP_DIVIDE, "pad_/"},
                               {SDLK_KP_MULTIPLY, "pad_*"},
                               {SDLK_KP_MINUS, "pad_-"},
                               {SDLK_KP_PLUS, "pad_+"},
                               {SDLK_KP_ENTER, "enter"},
                               {SDLK_KP_EQUALS, "pad_="},
                               {SDLK_UP, "up"},
                               {SDLK_DOWN, "down"},
                               {SDLK_RIGHT, "right"},
                               {SDLK_LEFT, "left"},
                               {SDLK_INSERT, "ins"},
                               {SDLK_HOME, "home"},
                               {SDLK_END, "end"},
                               {SDLK_PAGEUP, "pgup"},
                               {SDLK_PAGEDOWN, "pgdn"},
                               {SDLK_F1, "f1"},
                               {SDLK_F2, "f2"},
                               {SDLK_F3, "f3"},
                               {SDLK_F4, "f4"},
                               {SDLK_F5, "f5"},
                               {SDLK_F6, "f6"},
                               {SDLK_F7, "f7"},
                               {SDLK_F8, "f8"},
                               {SDLK_F9, "f9"},
                               {SDLK_F10, "f10"},
                               {SDLK_F11, "f11"},
                               {SDLK_F12, "f12"},
                               {SDLK_F13, "f13"},
                               {SDLK_F14, "f14"},
                               {SDLK_F15, "f15"},
                               {SDLK_NUMLOCK, "numlock"},
                               {SDLK_CAPSLOCK, "capslock"},
                               {SDLK_SCROLLOCK, "scrollock"},
                               {SDLK_RSHIFT, "rshift"},
                               {SDLK_LSHIFT, "lshift"},
                               {SDLK_RCTRL, "rctrl"},
                               {SDLK_LCTRL, "lctrl"},
                               {SDLK_RALT, "ralt"},
                               {SDLK_LALT, "lalt"},
                               {SDLK_RMETA, "rmeta"},
                               {SDLK_LMETA, "lmeta"},
                               {SDLK_LSUPER, "lwin"},
                               {SDLK_RSUPER, "rwin"},
                               {SDLK_MODE, "mode"},
                               {SDLK_HELP, "help"},
                               {SDLK_PRINT, "printscreen"},
                               {SDLK_SYSREQ, "sysrq"},
                               {SDLK_BREAK, "break"},
                               {SDLK_MENU, "menu"},
                               {SDLK_POWER, "power"},
                               {SDLK_EURO, "euro"}};

KeyNameMap buildKeyNameMap() {
    KeyNameMap names;
    for (SDLKey key : CHARACTER_KEYS)
        names[key] = std::string(1, static_cast<char>(key));
    // Written with the closing curly brace in every controls file there is.
    names[SDLK_RIGHTBRACKET] = "}";
    for (const NamedKey& named : NAMED_KEYS)
        names[named.key] = named.name;
    return names;
}

NameKeyMap buildNameKeyMap() {
    NameKeyMap keys;
    for (const auto& entry : getKeyNameMap())
        keys[entry.second] = entry.first;
    return keys;
}

const char* const KEY_STATE_NAMES[] = {"default", "down", "up", "pressed"};

}  // namespace

const KeyNameMap& getKeyNameMap() {
    static const KeyNameMap names = buildKeyNameMap();
    return names;
}

const NameKeyMap& getNameKeyMap() {
    static const NameKeyMap keys = buildNameKeyMap();
    return keys;
}

template <>
std::string toStr<KeyState>(const KeyState& state) {
    if (state < ctrlDefault || state > ctrlPressed)
        return KEY_STATE_NAMES[ctrlDefault];
    return KEY_STATE_NAMES[state];
}

template <>
KeyState strTo<KeyState>(const std::string& text) {
    for (int state = ctrlDown; state <= ctrlPressed; ++state)
        if (text == KEY_STATE_NAMES[state])
            return static_cast<KeyState>(state);
    return ctrlDefault;
}

template <>
std::string toStr<SDLKey>(const SDLKey& key) {
    debug::MessageScope scope("toStr<SDLKey>()");
    const KeyNameMap& names = getKeyNameMap();
    KeyNameMap::const_iterator found = names.find(key);
    return found == names.end() ? std::string() : found->second;
}

template <>
SDLKey strTo<SDLKey>(const std::string& name) {
    debug::MessageScope scope("strTo<SDLKey>()");
    const NameKeyMap& keys = getNameKeyMap();
    NameKeyMap::const_iterator found = keys.find(name);
    if (found == keys.end())
        throw name + " is no valid key identifier.";
    return found->second;
}

}  // namespace lumo

#pragma once
// The words in which controls files and the bindings shown to the user name keys and key
// states. The tables are built once on first use and live for the whole run.

#include <SDL.h>

#include <map>
#include <string>

#include "lumo/convert.hpp"

namespace lumo {

/// How a key or button binding fires its trigger: `ctrlDown` when the input goes down, `ctrlUp`
/// when it goes up, `ctrlPressed` holds the trigger active while the input is down;
/// `ctrlDefault` stands for the trigger's default key state.
enum KeyState { ctrlDefault = 0, ctrlDown = 1, ctrlUp = 2, ctrlPressed = 3 };

typedef std::map<SDLKey, std::string> KeyNameMap;
typedef std::map<std::string, SDLKey> NameKeyMap;

/// The 133 named keys, by key. Keys without a name (the international keys, compose, undo) are
/// not in it.
const KeyNameMap& getKeyNameMap();
/// The inverse of getKeyNameMap(); names are case-sensitive.
const NameKeyMap& getNameKeyMap();

/// "default", "down", "up" or "pressed".
template <>
std::string toStr<KeyState>(const KeyState& state);
/// "down", "up" and "pressed" give their states; every other text gives `ctrlDefault`.
template <>
KeyState strTo<KeyState>(const std::string& text);
/// The key's name, or "" for a key without one.
template <>
std::string toStr<SDLKey>(const SDLKey& key);
/// The key of that name. Throws `name` + " is no valid key identifier." for a name that is not
/// in the table.
template <>
SDLKey strTo<SDLKey>(const std::string& name);

}  // namespace lumo

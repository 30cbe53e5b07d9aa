#pragma once
// The keys of the game's actions as the player chooses them: which keys each action has, the
// rules for giving an action a new key (a key another action needs on the same screen is
// swapped, Escape always stays with "back") and their form in the settings file, which is the
// input evaluators' own form of saved bindings. Joystick bindings are left as the data has them.
// Main thread only.

#include <SDL.h>

#include <string>
#include <vector>

namespace lumo {
class InputEvaluator;
class ResourceManager;
class Trigger;
namespace xml {
class Node;
}
}  // namespace lumo

namespace pimwarden {

/// The actions whose keys the player can choose, in the order the options pane lists them.
enum GameAction { gaLeft, gaRight, gaDrop, gaPause, gaStart, gaBack, gaFullscreen, gaCount };

/// The outcome of KeyBindings::bind.
enum BindResult {
    brBound,           ///< the action has the new key
    brSwapped,         ///< and another action took over the action's former keys
    brUnchanged,       ///< the action had just this key already
    brEscapeReserved,  ///< Escape belongs to "back" only
    brReserved,        ///< the key opens the options on the title screen
    brNoName,          ///< a key without a name cannot be saved
    brLastKey          ///< the other action would be left without a key
};

/// `word` with its first letter in capitals.
std::string capitalised(std::string word);

/// The key that opens the options pane on the title screen; no title-screen action may have it.
const SDLKey OPTIONS_KEY = SDLK_o;

class KeyBindings {
  public:
    /// Finds the actions' triggers in the input evaluators of `banks` and takes their current
    /// keys as the defaults. Throws "trigger <bank>.<name> not found".
    explicit KeyBindings(const lumo::ResourceManager& banks);

    /// The word for the action: "left", "right", "drop", "pause", "start", "back",
    /// "full screen".
    static const char* name(GameAction a);
    /// Whether the two actions can fire on the same screen (so they must not share a key).
    static bool conflict(GameAction a, GameAction b);

    /// The action's keys in binding order.
    std::vector<SDLKey> keys(GameAction a) const;
    /// The keys for the player: "Left, A" (single letters in capitals).
    std::string describe(GameAction a) const;

    /// Gives `a` the single key `key` ("back" keeps Escape beside it). Every other action that
    /// fires on a screen with `a` and had `key` gets `a`'s former keys in its place; `*other`
    /// (when not null) names the first such action, or the one that would be left without a
    /// key (brLastKey). Nothing changes unless the result is brBound or brSwapped.
    BindResult bind(GameAction a, SDLKey key, GameAction* other = nullptr);

    /// Whether the keys fit the rules: every action has a key, Escape is "back"'s and nobody
    /// else's, no title-screen action has OPTIONS_KEY, and actions that fire on the same screen
    /// share no key.
    bool valid() const;
    /// Every action gets its default keys back.
    void restoreDefaults();

    /// Appends one `inputEvaluator` element (attribute `name`) per evaluator, holding the
    /// `trigger` elements of the actions' triggers with all their bindings.
    void putInNode(lumo::xml::Node* node) const;
    /// Reads the `inputEvaluator` children that name one of the actions' evaluators with the
    /// evaluator's reading of saved bindings (bad entries are logged and skipped). Keys that
    /// break the rules give way to the defaults, logged at info level. Joystick bindings are
    /// taken as they stand.
    void getFromNode(const lumo::xml::Node* node);

  private:
    struct Binding {
        lumo::InputEvaluator* evaluator;
        lumo::Trigger* trigger;
        /// The value of the action's key bindings; 0 takes every key binding of the trigger.
        float value;
    };

    void setKeys(GameAction a, const std::vector<SDLKey>& keys);

    Binding bindings[gaCount];
    std::vector<SDLKey> defaults[gaCount];
};

}  // namespace pimwarden

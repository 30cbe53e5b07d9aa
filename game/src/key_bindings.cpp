#include "key_bindings.hpp"

#include <algorithm>
#include <cctype>

#include "controls/input_evaluator.hpp"
#include "controls/translators.hpp"
#include "controls/trigger.hpp"
#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "pimwarden.hpp"
#include "resources/resource_manager.hpp"
#include "xml/node.hpp"

namespace pimwarden {

namespace {

struct ActionInfo {
    const char* name;
    const char* evaluator;
    const char* trigger;
    float value;
    bool onTitle;
    bool inGame;
};

// Left and right are the two directions of the analog trigger "player".
const ActionInfo ACTIONS[gaCount] = {
    {"left", "evaluatorGamePlayer", "player", -1, false, true},
    {"right", "evaluatorGamePlayer", "player", 1, false, true},
    {"drop", "evaluatorGamePlayer", "drop", 0, false, true},
    {"pause", "evaluatorGamePlayer", "pause", 0, false, true},
    {"start", "evaluatorMenu", "start", 0, true, false},
    {"back", "evaluatorCore", "quit", 0, true, true},
    {"full screen", "evaluatorCore", "fullscreen", 0, true, true},
};

const char* const XML_EVALUATOR = "inputEvaluator";

bool has(const std::vector<SDLKey>& keys, SDLKey key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

GameAction action(int i) {
    return static_cast<GameAction>(i);
}

}  // namespace

std::string capitalised(std::string word) {
    if (!word.empty())
        word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    return word;
}

KeyBindings::KeyBindings(const lumo::ResourceManager& banks) {
    for (int i = 0; i < gaCount; ++i) {
        const ActionInfo& info = ACTIONS[i];
        Binding& b = bindings[i];
        b.evaluator = dynamic_cast<lumo::InputEvaluator*>(banks[info.evaluator]);
        b.trigger = b.evaluator ? b.evaluator->at(info.trigger) : nullptr;
        if (!b.trigger)
            throw std::string("trigger ") + info.evaluator + "." + info.trigger + " not found";
        b.value = info.value;
        defaults[i] = keys(action(i));
    }
}

const char* KeyBindings::name(GameAction a) {
    return ACTIONS[a].name;
}

bool KeyBindings::conflict(GameAction a, GameAction b) {
    return a != b &&
           ((ACTIONS[a].onTitle && ACTIONS[b].onTitle) || (ACTIONS[a].inGame && ACTIONS[b].inGame));
}

std::vector<SDLKey> KeyBindings::keys(GameAction a) const {
    const Binding& b = bindings[a];
    std::vector<SDLKey> result;
    for (const lumo::Translator* t : b.trigger->translators) {
        const auto* k = dynamic_cast<const lumo::KeyTranslator*>(t);
        if (k && (b.value == 0 || k->value == b.value))
            result.push_back(k->key);
    }
    return result;
}

std::string KeyBindings::describe(GameAction a) const {
    std::string text;
    for (SDLKey key : keys(a)) {
        text += (text.empty() ? "" : ", ") + capitalised(lumo::toStr<SDLKey>(key));
    }
    return text;
}

void KeyBindings::setKeys(GameAction a, const std::vector<SDLKey>& keys) {
    const Binding& b = bindings[a];
    b.trigger->clearKeyTranslators(b.value);
    for (SDLKey key : keys)
        new lumo::KeyTranslator(b.trigger, key, lumo::ctrlDefault, b.value == 0 ? 1.0f : b.value);
}

BindResult KeyBindings::bind(GameAction a, SDLKey key, GameAction* other) {
    lumo::debug::MessageScope scope("KeyBindings::bind()");
    if (lumo::toStr<SDLKey>(key).empty())
        return brNoName;
    if (key == SDLK_ESCAPE && a != gaBack)
        return brEscapeReserved;
    if (key == OPTIONS_KEY && ACTIONS[a].onTitle)
        return brReserved;
    std::vector<SDLKey> wanted{key};
    if (a == gaBack && key != SDLK_ESCAPE)
        wanted.insert(wanted.begin(), SDLK_ESCAPE);
    const std::vector<SDLKey> current = keys(a);
    if (current == wanted)
        return brUnchanged;
    // What the action gives up, for the actions that lose `key` to it.
    std::vector<SDLKey> former;
    for (SDLKey k : current)
        if (k != SDLK_ESCAPE && k != key && !has(former, k))
            former.push_back(k);

    std::vector<std::pair<GameAction, std::vector<SDLKey>>> changes;
    for (int i = 0; i < gaCount; ++i) {
        const GameAction b = action(i);
        std::vector<SDLKey> theirs = keys(b);
        if (!conflict(a, b) || !has(theirs, key))
            continue;
        std::vector<SDLKey> replacement;
        for (SDLKey k : former) {
            bool taken = has(theirs, k) || (k == OPTIONS_KEY && ACTIONS[b].onTitle);
            for (int j = 0; j < gaCount && !taken; ++j)
                taken = j != a && conflict(b, action(j)) && has(keys(action(j)), k);
            if (!taken)
                replacement.push_back(k);
        }
        const auto at = std::find(theirs.begin(), theirs.end(), key);
        theirs.insert(theirs.erase(at), replacement.begin(), replacement.end());
        if (theirs.empty()) {
            if (other)
                *other = b;
            return brLastKey;
        }
        if (other && changes.empty())
            *other = b;
        changes.emplace_back(b, theirs);
    }
    for (const auto& change : changes)
        setKeys(change.first, change.second);
    setKeys(a, wanted);
    return changes.empty() ? brBound : brSwapped;
}

bool KeyBindings::valid() const {
    std::vector<SDLKey> all[gaCount];
    for (int i = 0; i < gaCount; ++i)
        all[i] = keys(action(i));
    for (int i = 0; i < gaCount; ++i) {
        if (all[i].empty() || has(all[i], SDLK_ESCAPE) != (i == gaBack))
            return false;
        if (ACTIONS[i].onTitle && has(all[i], OPTIONS_KEY))
            return false;
        for (int j = i + 1; j < gaCount; ++j) {
            if (!conflict(action(i), action(j)))
                continue;
            for (SDLKey k : all[i])
                if (has(all[j], k))
                    return false;
        }
    }
    return true;
}

void KeyBindings::restoreDefaults() {
    for (int i = 0; i < gaCount; ++i)
        setKeys(action(i), defaults[i]);
}

void KeyBindings::putInNode(lumo::xml::Node* node) const {
    // The actions are listed evaluator by evaluator, and the two directions of "player" one
    // after the other.
    lumo::xml::Node* element = nullptr;
    for (int i = 0; i < gaCount; ++i) {
        if (!element || (*element)["name"] != ACTIONS[i].evaluator) {
            element = new lumo::xml::Node;
            element->name = XML_EVALUATOR;
            (*element)["name"] = ACTIONS[i].evaluator;
            *node += element;
        }
        if (i == 0 || bindings[i].trigger != bindings[i - 1].trigger)
            *element += bindings[i].trigger->buildTranslatorTree();
    }
}

void KeyBindings::getFromNode(const lumo::xml::Node* node) {
    lumo::debug::MessageScope scope("KeyBindings::getFromNode()");
    for (const lumo::xml::Node* child : node->children) {
        if (child->name != XML_EVALUATOR)
            continue;
        const std::string name = child->getAttribute("name", "");
        for (int i = 0; i < gaCount; ++i) {
            if (name == ACTIONS[i].evaluator) {
                bindings[i].evaluator->getTranslatorsFromNode(child);
                break;
            }
        }
    }
    if (!valid()) {
        lumo::debug::info(dbgResources,
                          "The saved keys do not fit together; the default keys are used.");
        restoreDefaults();
    }
}

}  // namespace pimwarden

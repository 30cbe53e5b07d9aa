// The GUI side of Resources: the name-entry and high-score panes.
#include "controls/control_queue.hpp"
#include "gui/core/captioned_object.hpp"
#include "gui/core/gui.hpp"
#include "lumo/types.hpp"
#include "resources.hpp"

namespace pimwarden {

lumo::gui::GUI* Resources::asGui(lumo::BasicResourceBank* bank) {
    return dynamic_cast<lumo::gui::GUI*>(bank);
}

lumo::Evaluator* Resources::guiEvaluator() const {
    return gui;
}

void Resources::findComponents() {
    for (auto entry :
         {std::make_pair(&pEnterName, "pEnterName"), std::make_pair(&pHighscores, "pHighscores"),
          std::make_pair(&lEnterName, "lEnterName"), std::make_pair(&tfEnterName, "tfEnterName")}) {
        *entry.first = (*gui)[entry.second];
        if (!*entry.first)
            throw std::string("component ") + entry.second + " not found";
    }
    // The prompt and the name are captioned widgets; anything else cannot serve.
    if (!dynamic_cast<lumo::gui::CaptionedObject*>(lEnterName))
        throw std::string("component lEnterName not found");
    if (!dynamic_cast<lumo::gui::CaptionedObject*>(tfEnterName))
        throw std::string("component tfEnterName not found");
    pEnterName->center(lumo::vpScreen.dimensions);
    pHighscores->center(lumo::vpScreen.dimensions);
}

void Resources::showNameEntry() {
    gui->setVisible(true);
    pEnterName->setVisible(true);
    dynamic_cast<lumo::gui::CaptionedObject*>(lEnterName)->setCaption("Enter your name");
    tfEnterName->setFocused(true);
}

std::string Resources::enteredName() const {
    return dynamic_cast<lumo::gui::CaptionedObject*>(tfEnterName)->getCaption();
}

void Resources::hideNameEntry() {
    pEnterName->setVisible(false);
    gui->setVisible(false);
    gui->setActive(false);
}

void Resources::showHighscorePane() {
    gui->setVisible(true);
    pHighscores->setVisible(true);
}

void Resources::enableGuiInput() {
    static_cast<lumo::Evaluator*>(gui)->enabled = true;
    gui->setActive(true);
}

void Resources::disableGuiInput() {
    static_cast<lumo::Evaluator*>(gui)->enabled = false;
}

void Resources::leaveGui() {
    pHighscores->setVisible(false);
    // A game left during name entry must not leave the pane and the GUI's input over the
    // title menu.
    pEnterName->setVisible(false);
    gui->setVisible(false);
    gui->setActive(false);
    disableGuiInput();
}

void Resources::performGui(float ticks) {
    gui->perform(queue, ticks);
}

void Resources::drawGui() {
    if (gui->getVisible())
        gui->draw();
}

}  // namespace pimwarden

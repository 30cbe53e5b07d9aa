#include "highscore_entry.hpp"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <utility>

#include "xml/node.hpp"

namespace pimwarden {

HighscoreEntry::HighscoreEntry(std::string n, unsigned int s) : name(std::move(n)), score(s) {}

void HighscoreEntry::getFromNode(const lumo::xml::Node* node) {
    name = node->getAttribute("name", "");
    score = static_cast<unsigned int>(node->getAttributeLong("score", 0));
}

void HighscoreEntry::putInNode(lumo::xml::Node* node) const {
    (*node)["name"] = name;
    (*node)["score"] = std::to_string(score);
}

void loadHighscoreFile(Highscores& table, const std::string& filename) {
    std::unique_ptr<lumo::xml::Node> root(lumo::xml::loadXML(filename.c_str()));
    if (root && root->name == lumo::XML_HIGHSCORES_HIGHSCORES)
        table.getFromNode(root.get());
}

void saveHighscoreFile(const Highscores& table, const std::string& filename) {
    lumo::xml::Node root;
    root.name = lumo::XML_HIGHSCORES_HIGHSCORES;
    table.putInNode(&root);
    root.saveXML(filename.c_str());
}

std::string keepFileAside(const std::string& filename) {
    for (int n = 1; n < 1000; ++n) {
        std::string aside = filename + ".unreadable";
        if (n > 1)
            aside += "-" + std::to_string(n);
        struct stat info;
        if (stat(aside.c_str(), &info) == 0)
            continue;
        return std::rename(filename.c_str(), aside.c_str()) == 0 ? aside : std::string();
    }
    return std::string();
}

}  // namespace pimwarden

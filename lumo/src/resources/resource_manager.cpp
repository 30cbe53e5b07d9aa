#include "resources/resource_manager.hpp"

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "xml/node.hpp"
#include "xml/source_file.hpp"

namespace lumo {

ResourceManager::~ResourceManager() {
    // The misspelling is kept: crash reports of released builds carry this text.
    debug::MessageScope scope("ResourceManager::~ResourceMaanger()");
    clear();
}

std::string ResourceManager::getNodeName() const {
    return "resources";
}

void ResourceManager::getFromNode(const xml::Node* node, const std::string& path) {
    if (!node)
        return;
    for (const xml::Node* child : node->children) {
        std::string name = child->getAttribute("name", "");
        std::string bankPath = path + child->getAttribute("dir", "");
        if (name.empty()) {
            debug::error(dbgResources, "Missing name attribute from resource bank node.");
            continue;
        }
        if (banks.count(name)) {
            // Replacing it would destroy a bank that others read before may point into (an
            // animation bank's frames into its image bank).
            debug::error(dbgResources,
                         "Resource bank name \"%s\" in \"%s\" is already taken. Skipping bank.",
                         name.c_str(), xml::sourceFileForMessage());
            continue;
        }
        BasicResourceBank* bank = createResourceBank(child->name);
        if (!bank) {
            debug::warning(dbgResources, "Unknown resource bank type \"%s\".", child->name.c_str());
            continue;
        }
        add(name, bank);
        bank->getFromNode(child, bankPath);
    }
}

BasicResourceBank* ResourceManager::createResourceBank(const std::string& type) {
    for (const ResourceBankGenerator* generator : getGenerators())
        if (BasicResourceBank* bank = generator->generateBank(type))
            return bank;
    return nullptr;
}

void ResourceManager::add(const std::string& name, BasicResourceBank* bank) {
    debug::MessageScope scope("ResourceManager::add()");
    if (!bank)
        return;
    Banks::iterator it = banks.find(name);
    if (it != banks.end() && it->second == bank) {
        bank->manager = this;
        return;
    }
    // A bank under two names, or in two managers, would be destroyed twice.
    if (bank->manager)
        bank->manager->forget(bank);
    it = banks.find(name);
    if (it != banks.end()) {
        BasicResourceBank* older = it->second;
        banks.erase(it);
        older->manager = nullptr;
        delete older;
    }
    banks[name] = bank;
    bank->manager = this;
}

BasicResourceBank* ResourceManager::operator[](const std::string& name) const {
    debug::MessageScope scope("ResourceManager::operator[]()");
    Banks::const_iterator it = banks.find(name);
    return it == banks.end() ? nullptr : it->second;
}

void ResourceManager::clear() {
    debug::MessageScope scope("ResourceManager::clear()");
    // Banks outlive the manager; leave them no pointer to it.
    for (Banks::value_type& entry : banks)
        if (entry.second && entry.second->manager == this)
            entry.second->manager = nullptr;
    banks.clear();
}

void ResourceManager::forget(const BasicResourceBank* bank) {
    for (Banks::iterator it = banks.begin(); it != banks.end();)
        if (it->second == bank)
            it = banks.erase(it);
        else
            ++it;
}

}  // namespace lumo

#include "resources/resource_bank.hpp"

#include <memory>

#include "xml/node.hpp"
#include "xml/source_file.hpp"

namespace lumo {

BasicResourceBank::~BasicResourceBank() = default;

std::string BasicResourceBank::getNodeName() const {
    return "";
}

void BasicResourceBank::getFromNode(const xml::Node* /*node*/, const std::string& /*path*/) {}

void BasicResourceBank::load(const std::string& filename, const std::string& dir) {
    std::string base = dir;
    if (base.empty()) {
        std::string::size_type slash = filename.rfind('/');
        if (slash != std::string::npos)
            base = filename.substr(0, slash + 1);
    }
    if (!base.empty() && base.back() != '/')
        base += '/';

    std::unique_ptr<xml::Node> root(xml::loadXML(filename.c_str()));
    // Messages about the content name the file.
    xml::SourceFileScope source(filename);
    if (root && root->name == getNodeName())
        getFromNode(root.get(), base + root->getAttribute("dir", ""));
}

ResourceBankGenerator::ResourceBankGenerator() {
    registerResourceBankGenerator(this);
}

ResourceBankGenerator::~ResourceBankGenerator() {
    unregisterResourceBankGenerator(this);
}

ResourceBankGenerators& getGenerators() {
    // Never destroyed: generators of other translation units unregister during static
    // destruction, in an order that no one controls.
    static ResourceBankGenerators* generators = new ResourceBankGenerators;
    return *generators;
}

void registerResourceBankGenerator(const ResourceBankGenerator* generator) {
    getGenerators().push_back(generator);
}

void unregisterResourceBankGenerator(const ResourceBankGenerator* generator) {
    getGenerators().remove(generator);
}

}  // namespace lumo

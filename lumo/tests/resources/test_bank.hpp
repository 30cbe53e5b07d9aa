#pragma once
// A bank type for the tests: its resources only record their destruction, and it reads
// `item` children with a `name` attribute.

#include <string>
#include <vector>

#include "resources/named_resource.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace testing {

class TestBank;

class TestResource : public NamedResource<TestBank, std::string> {
  public:
    explicit TestResource(const std::string& name, std::vector<std::string>* deaths = nullptr)
        : NamedResource(name), deaths(deaths) {}
    ~TestResource() override {
        if (deaths)
            deaths->push_back(name);
    }
    std::vector<std::string>* deaths;
};

class TestBank : public NamedResourceBank<TestResource> {
  public:
    /// Banks destroyed so far, all tests together.
    static int destroyed;

    ~TestBank() override { ++destroyed; }
    std::string getNodeName() const override { return "testbank"; }
    void getFromNode(const xml::Node* node, const std::string& path) override {
        this->path = path;
        destroyedWhenRead = destroyed;
        for (const xml::Node* child : node->children)
            if (child->name == "item")
                *this += new TestResource(child->getAttribute("name", ""), deaths);
    }

    std::string path = "(not read)";
    int destroyedWhenRead = -1;
    std::vector<std::string>* deaths = nullptr;
};

}  // namespace testing
}  // namespace lumo

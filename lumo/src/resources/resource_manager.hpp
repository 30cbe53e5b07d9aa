#pragma once
// The resource manager: reads "resources.xml", creates one bank per bank element through the
// registered generators and hands banks out by name. Main thread only.

#include <map>
#include <string>

#include "resources/resource_bank.hpp"

namespace lumo {

/// Holds banks by name. Replacing a bank under a taken name destroys the older one, but the
/// manager's destruction (and clear()) leaves the banks alive: whoever created them decides
/// when they go.
class ResourceManager : public BasicResourceBank {
  public:
    typedef std::map<std::string, BasicResourceBank*> Banks;

    ResourceManager() = default;
    /// Forgets the banks without destroying them.
    ~ResourceManager() override;

    std::string getNodeName() const override;
    /// One bank per child element, named by its `name` attribute and created by the generator
    /// that knows the element name; unnamed or unknown elements, and elements whose name is
    /// already taken by a bank of this manager, are logged and skipped (add() from code still
    /// replaces).
    void getFromNode(const xml::Node* node, const std::string& path) override;
    /// Asks the generators in registration order; the first bank created (owned by the
    /// caller), or null when no generator knows `type`.
    virtual BasicResourceBank* createResourceBank(const std::string& type);

    /// Stores `bank` under `name`, destroying the bank stored there before. A bank held by a
    /// manager under another name is moved, never held twice. A null bank is ignored.
    void add(const std::string& name, BasicResourceBank* bank);
    /// The bank stored under `name`, or null.
    BasicResourceBank* operator[](const std::string& name) const;
    /// Empties the map without destroying the banks; their `manager` is cleared.
    void clear();

    Banks banks;

  private:
    void forget(const BasicResourceBank* bank);
};

}  // namespace lumo

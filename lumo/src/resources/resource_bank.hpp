#pragma once
// The base of every bank (the resource manager included) and the registry of bank generators
// through which the manager creates banks by type name. Main thread only.

#include <list>
#include <string>

namespace lumo {

namespace xml {
class Node;
}

class ResourceManager;

/// A named collection of one kind of resource. Banks are not copyable: they own their content.
class BasicResourceBank {
  public:
    BasicResourceBank() = default;
    BasicResourceBank(const BasicResourceBank&) = delete;
    BasicResourceBank& operator=(const BasicResourceBank&) = delete;
    virtual ~BasicResourceBank();

    /// The root element name a bank file of this kind must have; "" by default.
    virtual std::string getNodeName() const;
    /// Reads the bank's content from `node`; `path` is the directory (ending with a slash, or
    /// empty) that the entries' file names are relative to. Does nothing by default.
    virtual void getFromNode(const xml::Node* node, const std::string& path);
    /// Reads a bank file. The base path is `dir`, or the directory part of `filename` when `dir`
    /// is empty; the root's `dir` attribute is appended to it. A root element of another name
    /// is ignored silently. Throws the reader's message when the file cannot be read or parsed.
    virtual void load(const std::string& filename, const std::string& dir);

    /// The manager that holds this bank, not owned; null while in none.
    ResourceManager* manager = nullptr;
};

/// Creates banks by type name. Constructing a generator registers it; destroying it
/// unregisters it, so that the registry never points at a dead generator.
class ResourceBankGenerator {
  public:
    ResourceBankGenerator();
    ResourceBankGenerator(const ResourceBankGenerator&) = delete;
    ResourceBankGenerator& operator=(const ResourceBankGenerator&) = delete;
    virtual ~ResourceBankGenerator();

    /// A new bank owned by the caller when `type` is this generator's own (compared exactly),
    /// otherwise null.
    virtual BasicResourceBank* generateBank(const std::string& type) const = 0;
};

typedef std::list<const ResourceBankGenerator*> ResourceBankGenerators;

/// The registered generators in registration order. Created on first use, so generators that
/// are static objects of any translation unit may register during static initialisation.
ResourceBankGenerators& getGenerators();
/// Appends `generator` (not owned).
void registerResourceBankGenerator(const ResourceBankGenerator* generator);
/// Removes every occurrence of `generator`.
void unregisterResourceBankGenerator(const ResourceBankGenerator* generator);

}  // namespace lumo

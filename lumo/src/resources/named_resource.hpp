#pragma once
// The generic resource and bank templates from which every concrete bank is built:
//
//   class ImageBank;
//   class ImageResource : public NamedResource<ImageBank, std::string> { ... };
//   class ImageBank : public NamedResourceBank<ImageResource> { ... };
//
// A bank owns the resources in it; a resource destroyed elsewhere unlinks itself from its bank.
// The resource's class is declared before its bank's (the bank's map needs the key type), and
// the bank's class must be complete in every translation unit that creates or destroys a
// resource (the resource's destructor calls into it). Main thread only.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <type_traits>
#include <utility>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "resources/resource_bank.hpp"

namespace lumo {

/// The base of every resource held in a bank of class `Bank`.
template <class Bank>
class Resource {
  public:
    typedef Bank bank_type;

    Resource() = default;
    /// A copy belongs to no bank.
    Resource(const Resource&) {}
    Resource& operator=(const Resource&) { return *this; }
    /// Unlinks the resource from its bank when it is still in one.
    virtual ~Resource() { unlinkFromOwner(); }

    /// The bank holding this resource, or null while in none. Set and cleared by the bank.
    Bank* owner = nullptr;

  protected:
    /// Hands the bank the address of this Resource<Bank> part, which is what the bank's
    /// `operator-=(void*)` expects.
    void unlinkFromOwner() {
        if (owner) {
            Bank* bank = owner;
            bank->operator-=(static_cast<void*>(this));
            owner = nullptr;
        }
    }
};

/// A resource found in its bank by `name`. `Key` needs operator<; it is a string for every bank
/// but the font bank.
template <class Bank, class Key>
class NamedResource : public Resource<Bank> {
  public:
    typedef Key key_type;

    NamedResource() = default;
    explicit NamedResource(Key name) : name(std::move(name)) {}
    // The bank finds the entry by name, which is gone by the time the base destructor runs.
    ~NamedResource() override { this->unlinkFromOwner(); }

    /// The key under which a bank stores the resource; do not change it while in a bank.
    Key name;
};

/// A bank of resources of class `T` (derived from NamedResource<Bank, Key>, with `Bank`
/// derived from this class), ordered by key. The bank owns the resources in it.
template <class T>
class NamedResourceBank : public BasicResourceBank {
  public:
    typedef typename T::key_type Key;
    typedef typename T::bank_type Bank;
    typedef NamedResource<Bank, Key> NamedType;
    typedef std::map<Key, T*> Map;

    static_assert(std::is_base_of<NamedType, T>::value,
                  "a bank's resources derive from NamedResource<Bank, Key>");

    /// Wraps a map iterator; `name()` is the key, `*it` the stored pointer.
    template <class MapIterator>
    class basic_iterator_impl {
      public:
        typedef std::forward_iterator_tag iterator_category;
        typedef T* value_type;
        typedef std::ptrdiff_t difference_type;
        typedef T** pointer;
        typedef decltype((std::declval<MapIterator>()->second)) reference;

        basic_iterator_impl() = default;
        explicit basic_iterator_impl(MapIterator i) : itr(i) {}
        /// A plain iterator converts to a constant one.
        template <class Other, class = typename std::enable_if<
                                   std::is_convertible<Other, MapIterator>::value>::type>
        basic_iterator_impl(const basic_iterator_impl<Other>& other) : itr(other.itr) {}

        const Key& name() const { return itr->first; }
        reference operator*() const { return itr->second; }
        T* operator->() const { return itr->second; }
        basic_iterator_impl& operator++() {
            ++itr;
            return *this;
        }
        basic_iterator_impl operator++(int) {
            basic_iterator_impl old(*this);
            ++itr;
            return old;
        }
        bool operator==(const basic_iterator_impl& other) const { return itr == other.itr; }
        bool operator!=(const basic_iterator_impl& other) const { return itr != other.itr; }

        MapIterator itr;
    };
    typedef basic_iterator_impl<typename Map::iterator> iterator_impl;
    typedef basic_iterator_impl<typename Map::const_iterator> const_iterator_impl;
    typedef iterator_impl iterator;
    typedef const_iterator_impl const_iterator;

    NamedResourceBank() = default;
    /// Destroys every resource in the bank.
    ~NamedResourceBank() override {
        debug::MessageScope scope("NamedResourceBank::~NamedResourceBank()");
        clear();
    }

    /// Takes ownership of `resource` and stores it under its name; a resource stored under the
    /// same name is destroyed first. A resource in another bank (or in this one under an older
    /// name) is moved here. Null is ignored.
    NamedResourceBank& operator+=(T* resource) {
        static_assert(std::is_base_of<NamedResourceBank, Bank>::value,
                      "a bank derives from NamedResourceBank<its resource class>");
        debug::MessageScope scope("NamedResourceBank::operator+=()");
        if (!resource)
            return *this;
        Bank* self = static_cast<Bank*>(this);
        if (resource->owner) {
            if (resource->owner == self && at(resource->name) == resource)
                return *this;
            static_cast<NamedResourceBank*>(resource->owner)->operator-=(resource);
        }
        typename Map::iterator older = map.find(resource->name);
        if (older != map.end())
            delete older->second;  // its destructor erases the entry
        map[resource->name] = resource;
        resource->owner = self;
        return *this;
    }

    /// Takes `resource` out of the bank without destroying it and clears its `owner`; a
    /// resource that is not in the bank only logs a warning.
    NamedResourceBank& operator-=(T* resource) {
        removeResource(resource, resource);
        return *this;
    }
    /// The same for the address of a resource's Resource<Bank> part (what a resource passes
    /// while it is destroyed). For a `T*`, use the typed form.
    NamedResourceBank& operator-=(void* resource) {
        Resource<Bank>* base = static_cast<Resource<Bank>*>(resource);
        removeResource(static_cast<NamedType*>(base), resource);
        return *this;
    }

    /// The resource stored under `key`, or null.
    T* at(const Key& key) const {
        typename Map::const_iterator it = map.find(key);
        return it == map.end() ? nullptr : it->second;
    }
    T* operator[](const Key& key) const { return at(key); }

    iterator find(const Key& key) { return iterator(map.find(key)); }
    const_iterator find(const Key& key) const { return const_iterator(map.find(key)); }
    iterator begin() { return iterator(map.begin()); }
    iterator end() { return iterator(map.end()); }
    const_iterator begin() const { return const_iterator(map.begin()); }
    const_iterator end() const { return const_iterator(map.end()); }
    bool empty() const { return map.empty(); }
    /// Number of resources in the bank.
    virtual std::size_t size() const { return map.size(); }

    /// Destroys every resource, highest key first.
    void clear() {
        debug::MessageScope scope("NamedResourceBank::clear()");
        while (!map.empty()) {
            typename Map::iterator last = std::prev(map.end());
            T* resource = last->second;
            // Unlinked before it dies, so that its destructor never calls into this bank,
            // which may be half destroyed already.
            map.erase(last);
            resource->owner = nullptr;
            delete resource;
        }
    }

    /// The resources by key; owned.
    Map map;

  private:
    void removeResource(NamedType* resource, const void* shown) {
        debug::MessageScope scope("NamedResourceBank::operator-=()");
        if (resource && unlinkEntry(resource)) {
            resource->owner = nullptr;
            return;
        }
        debug::warning(0, "Could not remove resource %p from bank %p.", shown,
                       static_cast<const void*>(this));
    }

    /// Erases the entry holding `resource`: found by name, or by address for a resource that
    /// was renamed in the bank. Never erases another resource that shares the name.
    bool unlinkEntry(const NamedType* resource) {
        typename Map::iterator it = map.find(resource->name);
        if (it == map.end() || static_cast<const NamedType*>(it->second) != resource)
            it =
                std::find_if(map.begin(), map.end(), [resource](const typename Map::value_type& e) {
                    return static_cast<const NamedType*>(e.second) == resource;
                });
        if (it == map.end())
            return false;
        map.erase(it);
        return true;
    }
};

}  // namespace lumo

#pragma once
// The attributes of one element: names to values, ordered by name (byte-wise), one value per
// name. Kept as a sorted vector instead of a tree: elements carry a handful of attributes, and
// loading a document builds very many of them, so one allocation per element beats one per
// attribute.

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace lumo {
namespace xml {

class AttributeMap {
  public:
    typedef std::pair<std::string, std::string> value_type;
    typedef std::vector<value_type>::iterator iterator;
    typedef std::vector<value_type>::const_iterator const_iterator;

    AttributeMap() = default;
    AttributeMap(std::initializer_list<value_type> entries) {
        for (const value_type& e : entries)
            (*this)[e.first] = e.second;
    }

    /// Inserts when the name is absent; returns the entry and whether it was inserted.
    template <class K, class V>
    std::pair<iterator, bool> emplace(K&& name, V&& value) {
        iterator it = lowerBound(name);
        if (it != entries_.end() && it->first == name)
            return {it, false};
        return {entries_.emplace(it, std::forward<K>(name), std::forward<V>(value)), true};
    }
    /// Replaces the content by `pairs`, given in any order; of entries with the same name the
    /// last one wins. Sorts once, where inserting one by one would move the entries
    /// quadratically often on elements with very many attributes.
    void assign(std::vector<value_type> pairs) {
        std::stable_sort(pairs.begin(), pairs.end(), [](const value_type& a, const value_type& b) {
            return a.first < b.first;
        });
        std::size_t kept = 0;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            if (kept > 0 && pairs[kept - 1].first == pairs[i].first)
                --kept;
            if (kept != i)
                pairs[kept] = std::move(pairs[i]);
            ++kept;
        }
        pairs.resize(kept);
        entries_ = std::move(pairs);
    }
    /// The value, created empty when absent.
    std::string& operator[](const std::string& name) {
        return emplace(name, std::string()).first->second;
    }
    iterator find(const std::string& name) {
        iterator it = lowerBound(name);
        return it != entries_.end() && it->first == name ? it : entries_.end();
    }
    const_iterator find(const std::string& name) const {
        return const_cast<AttributeMap*>(this)->find(name);
    }
    std::size_t count(const std::string& name) const { return find(name) != end() ? 1 : 0; }
    std::size_t erase(const std::string& name) {
        iterator it = find(name);
        if (it == entries_.end())
            return 0;
        entries_.erase(it);
        return 1;
    }

    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    void clear() { entries_.clear(); }
    void reserve(std::size_t n) { entries_.reserve(n); }
    bool operator==(const AttributeMap& o) const { return entries_ == o.entries_; }
    bool operator!=(const AttributeMap& o) const { return entries_ != o.entries_; }

  private:
    template <class K>
    iterator lowerBound(const K& name) {
        return std::lower_bound(entries_.begin(), entries_.end(), name,
                                [](const value_type& e, const K& n) { return e.first < n; });
    }

    std::vector<value_type> entries_;
};

}  // namespace xml
}  // namespace lumo

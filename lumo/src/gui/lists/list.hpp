#pragma once
// Captioned items and the shared, reference-counted list that holds them. Drop-down lists (and
// anything else that shows a choice) point at a List; several widgets may share one. Main
// thread only.

#include <list>
#include <string>

namespace lumo {
namespace xml {
class Node;
}

namespace gui {

/// One entry of a List: the text shown, an application number and an application pointer.
class ListItem {
  public:
    ListItem() = default;
    explicit ListItem(std::string caption, int id = 0, void* data = nullptr)
        : caption(std::move(caption)), id(id), data(data) {}
    /// Applications may derive their own items; a List destroys them through this class.
    virtual ~ListItem() = default;
    ListItem(const ListItem&) = default;
    ListItem& operator=(const ListItem&) = default;

    /// True when caption, id and data are all equal.
    bool operator==(const ListItem& o) const {
        return caption == o.caption && id == o.id && data == o.data;
    }
    bool operator!=(const ListItem& o) const { return !(*this == o); }

    /// Reads `caption` and `id` (automatic base); a missing attribute keeps the current value,
    /// an id that is not a number is logged with its text and keeps it too. `data` becomes null.
    void getFromNode(const xml::Node* node);

    std::string caption;
    int id = 0;
    /// Not owned.
    void* data = nullptr;
};

/// Items in insertion order, owned by the list. Holders announce themselves with use() and
/// leave with unuse(); the last unuse() destroys the list, so a List must be created with new
/// and, once used, never deleted directly.
class List {
  public:
    typedef std::list<ListItem*> Items;
    typedef Items::const_iterator const_iterator;

    List() = default;
    /// Destroys the items.
    ~List();
    List(const List&) = delete;
    List& operator=(const List&) = delete;

    /// Adds one holder.
    void use();
    /// Removes one holder; destroys the list (`this`) when no holder is left.
    void unuse();
    int getUseCount() const { return useCount; }

    /// Destroys every item.
    void clear();
    /// Appends and takes ownership. Null, and an item already in the list, are ignored (taking
    /// it twice would destroy it twice).
    List& operator+=(ListItem* item);
    /// Removes the item without destroying it; the caller owns it then. Unknown items are
    /// ignored.
    List& operator-=(ListItem* item);

    /// The first item whose `data` is `data`, or null.
    ListItem* findByData(const void* data) const;
    bool contains(const ListItem* item) const;
    /// The item after `item`, wrapping to the first after the last; the first item when `item`
    /// is null or not in the list; null for an empty list.
    ListItem* next(const ListItem* item) const;

    bool empty() const { return items.empty(); }
    std::size_t size() const { return items.size(); }
    ListItem* front() const { return items.empty() ? nullptr : items.front(); }
    const_iterator begin() const { return items.begin(); }
    const_iterator end() const { return items.end(); }

  private:
    int useCount = 0;
    Items items;
};

}  // namespace gui
}  // namespace lumo

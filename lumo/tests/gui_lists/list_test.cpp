// The shared item list: items owned and destroyed once, holders counted, lookups and cycling.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debug/log.hpp"
#include "gui/lists/list.hpp"
#include "xml/node.hpp"

using namespace lumo;
using namespace lumo::gui;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Counts destructions so that ownership mistakes (leaks, double frees) show as wrong numbers
// even without a sanitizer.
int destroyed = 0;
struct CountedItem : ListItem {
    using ListItem::ListItem;
    ~CountedItem() override { ++destroyed; }
};

std::vector<std::string> captions(const List& list) {
    std::vector<std::string> out;
    for (const ListItem* item : list)
        out.push_back(item->caption);
    return out;
}

}  // namespace

TEST(ListItem, NewItemsStartWithIdZeroAndReadingKeepsWhatIsMissing) {
    debug::nameFrameworkGroups();
    EXPECT_EQ(0, ListItem().id);
    EXPECT_EQ(nullptr, ListItem().data);

    int anchor = 0;
    struct Row {
        xml::Node::Attributes attributes;
        std::string caption;
        int id;
        std::string log;
    } rows[] = {
        {{}, "old", 7, ""},
        {{{"caption", "New"}}, "New", 7, ""},
        {{{"id", "0x10"}}, "old", 16, ""},
        {{{"id", "-3 apples"}}, "old", -3, ""},
        {{{"caption", ""}, {"id", "3"}}, "", 3, ""},
        {{{"id", "many"}},
         "old",
         7,
         "[lumo:gui] (warning) Could not decode value for Item.id: \"many\".\n"},
        {{{"id", "99999999999"}},
         "old",
         7,
         "[lumo:gui] (warning) Could not decode value for Item.id: \"99999999999\".\n"},
    };
    for (const Row& row : rows) {
        xml::Node node;
        node.attributes = row.attributes;
        ListItem item("old", 7, &anchor);
        CaptureStdout();
        item.getFromNode(&node);
        EXPECT_EQ(row.log, GetCapturedStdout());
        EXPECT_EQ(row.caption, item.caption);
        EXPECT_EQ(row.id, item.id);
        EXPECT_EQ(nullptr, item.data) << "read from XML, an item points at nothing";
    }

    EXPECT_EQ(ListItem("a", 1, &anchor), ListItem("a", 1, &anchor));
    EXPECT_NE(ListItem("a", 1, &anchor), ListItem("a", 1, nullptr));
    EXPECT_NE(ListItem("a", 1), ListItem("a", 2));
    EXPECT_NE(ListItem("a", 1), ListItem("b", 1));
}

TEST(List, OwnsItsItemsAndHandsBackRemovedOnes) {
    destroyed = 0;
    int x = 0, y = 0;
    CountedItem* removed = new CountedItem("B", 2, &y);
    {
        List list;
        CountedItem* a = new CountedItem("A", 1, &x);
        list += a;
        list += removed;
        list += a;        // already held: taking it twice would free it twice
        list += nullptr;  // ignored
        list += new CountedItem("C", 3, &y);
        EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), captions(list));

        EXPECT_EQ(a, list.findByData(&x));
        EXPECT_EQ(removed, list.findByData(&y)) << "the first of two with the same data";
        EXPECT_EQ(nullptr, list.findByData(nullptr));

        list -= removed;
        list -= removed;  // no longer there: nothing happens
        EXPECT_EQ((std::vector<std::string>{"A", "C"}), captions(list));
        EXPECT_EQ("C", list.findByData(&y)->caption);
        EXPECT_EQ(0, destroyed);

        list.clear();
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(2, destroyed);
        list += new CountedItem("D");
    }
    EXPECT_EQ(3, destroyed) << "the destructor clears";
    EXPECT_EQ("B", removed->caption) << "a removed item survives";
    delete removed;
}

TEST(List, NextCyclesAndStartsOverFromAnythingUnknown) {
    List list;
    EXPECT_EQ(nullptr, list.next(nullptr)) << "an empty list has no next item";
    ListItem *a = new ListItem("A"), *b = new ListItem("B"), *c = new ListItem("C");
    list += a;
    list += b;
    list += c;
    ListItem stranger("B");  // equal caption, but not an item of the list
    const struct {
        const ListItem* from;
        const ListItem* next;
    } rows[] = {{nullptr, a}, {a, b}, {b, c}, {c, a}, {&stranger, a}};
    for (const auto& row : rows)
        EXPECT_EQ(row.next, list.next(row.from)) << (row.from ? row.from->caption : "null");
    EXPECT_EQ(a, list.front());
    EXPECT_TRUE(list.contains(b));
    EXPECT_FALSE(list.contains(&stranger));
}

TEST(List, LivesUntilTheLastHolderLeaves) {
    destroyed = 0;
    List* list = new List;
    *list += new CountedItem("A");
    list->use();
    list->use();
    EXPECT_EQ(2, list->getUseCount());
    list->unuse();
    EXPECT_EQ(0, destroyed);
    EXPECT_EQ(1, list->getUseCount());
    list->unuse();
    EXPECT_EQ(1, destroyed) << "the last holder's unuse destroys the list and its items";
}

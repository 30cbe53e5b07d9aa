// The shared item list: items owned and destroyed once, holders counted, lookups and cycling.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debug/log.hpp"
#include "gui/lists/list.hpp"
#include "gui_lists_helpers.hpp"
#include "xml/node.hpp"

using namespace lumo;
using namespace lumo::gui;
using lumo::testing::CountedItem;
using lumo::testing::destroyed;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

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
    int anchor = 0;
    struct Row {
        xml::Node::Attributes attributes;
        std::string caption;
        int id;
        std::string log;
    } rows[] = {
        {{}, "old", 7, ""},
        {{{"caption", ""}, {"id", "0x10"}}, "", 16, ""},
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
}

TEST(List, OwnsItsItemsUntilTheLastHolderLeaves) {
    destroyed = 0;
    int x = 0, y = 0;
    List* list = new List;
    CountedItem* a = new CountedItem("A", 1, &x);
    CountedItem* b = new CountedItem("B", 2, &y);
    *list += a;
    *list += b;
    *list += a;        // already held: taking it twice would free it twice
    *list += nullptr;  // ignored
    *list += new CountedItem("C", 3, &y);
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), captions(*list));
    EXPECT_EQ(b, list->findByData(&y)) << "the first of two with the same data";
    ListItem stranger("B");  // equal, but not an item of the list
    EXPECT_EQ(a, list->next(&stranger));
    EXPECT_EQ(a, list->next(list->next(b)));

    *list -= b;
    *list -= b;  // no longer there: nothing happens
    EXPECT_EQ((std::vector<std::string>{"A", "C"}), captions(*list));
    EXPECT_EQ("C", list->findByData(&y)->caption);
    EXPECT_EQ(0, destroyed) << "a removed item is handed back, not destroyed";
    delete b;
    list->clear();
    EXPECT_EQ(3, destroyed);
    *list += new CountedItem("D");

    list->use();
    list->use();
    list->unuse();
    EXPECT_EQ(3, destroyed);
    list->unuse();
    EXPECT_EQ(4, destroyed) << "the last holder's unuse destroys the list and its items";
}

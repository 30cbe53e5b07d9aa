// The shared item list and the drop-down list: items owned and destroyed once, holders
// counted, cycling through the items by mouse, keys and clicks, and lists replaced or shared
// between widgets.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/input_evaluator.hpp"
#include "debug/log.hpp"
#include "gui/lists/dropdown_list.hpp"
#include "gui_lists_helpers.hpp"
#include "xml/node.hpp"

using namespace lumo;
using namespace lumo::gui;
using namespace lumo::testing;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

std::vector<std::string> captions(const List& list) {
    std::vector<std::string> out;
    for (const ListItem* item : list)
        out.push_back(item->caption);
    return out;
}

List* newList(std::initializer_list<const char*> captions) {
    List* list = new List;
    for (const char* c : captions)
        *list += new CountedItem(c);
    return list;
}

const char* const ABC =
    "<DropdownList name=\"dd\" width=\"100\" height=\"20\" style=\"none\">"
    "<Item caption=\"A\" id=\"1\"/><Item caption=\"B\"/><Unknown/>"
    "<Item caption=\"C\" id=\"0x20\"/></DropdownList>";

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

TEST(DropdownList, ReadsItsItemsAndCyclesThroughThemOnEveryClick) {
    CaptureStdout();
    std::unique_ptr<GUI> gui = buildGui(ABC);
    const std::string log = GetCapturedStdout();
    DropdownList* dd = dynamic_cast<DropdownList*>((*gui)["dd"]);
    ASSERT_NE(nullptr, dd);
    EXPECT_NE(std::string::npos,
              log.find("[lumo:gui] (warning) Could not find matching style for dropdown list "
                       "\"dd\".\n"))
        << log;
    EXPECT_NE(std::string::npos,
              log.find("[lumo:ddd] (debug) Selected dropdown list item \"A\".\n"))
        << log;
    ASSERT_NE(nullptr, dd->getItems());
    std::vector<int> ids;
    for (const ListItem* item : *dd->getItems())
        ids.push_back(item->id);
    EXPECT_EQ((std::vector<int>{1, 0, 32}), ids) << "an Item without id starts at 0";
    EXPECT_EQ("A", dd->getCaption());

    InputEvaluator evaluator;
    Trigger* changed = new Trigger(&evaluator, 7, "changed", "", ctrlDown);
    dd->setTrigger(changed);
    NotingQueue queue;
    dd->setFocused(true);
    // Each way of clicking: the left button on it, Return, space, and the plain click.
    std::vector<std::string> captions;
    dd->mouseDown(&queue, Vector2D(5, 5), SDL_BUTTON_LEFT);
    dd->mouseUp(&queue, Vector2D(5, 5), SDL_BUTTON_LEFT);
    captions.push_back(dd->getCaption());
    EXPECT_TRUE(dd->keyDown(&queue, SDLK_RETURN, KMOD_NONE, 13));
    captions.push_back(dd->getCaption());
    CaptureStdout();
    EXPECT_TRUE(dd->keyDown(&queue, SDLK_SPACE, KMOD_NONE, 32));
    EXPECT_EQ("[lumo:ddd] (debug) Selected dropdown list item \"A\".\n", GetCapturedStdout());
    captions.push_back(dd->getCaption());
    dd->doClick(&queue);
    captions.push_back(dd->getCaption());
    EXPECT_EQ((std::vector<std::string>{"B", "C", "A", "B"}), captions);
    EXPECT_EQ(4u, queue.fired.size());

    // A release without the press is no click; nor is one after the focus went elsewhere.
    dd->mouseUp(&queue, Vector2D(5, 5), SDL_BUTTON_LEFT);
    dd->mouseDown(&queue, Vector2D(5, 5), SDL_BUTTON_LEFT);
    EXPECT_EQ(dd, gui->getMouseCaptured());
    gui->setFocused(true);
    dd->mouseUp(&queue, Vector2D(5, 5), SDL_BUTTON_LEFT);
    EXPECT_EQ("B", dd->getCaption());
    EXPECT_EQ(4u, queue.fired.size());
    EXPECT_EQ(nullptr, gui->getMouseCaptured());
}

TEST(DropdownList, AnEmptyListShowsNothingAndStillFires) {
    std::unique_ptr<GUI> gui = buildGui("<DropdownList name=\"dd\" caption=\"x\"/>");
    DropdownList* dd = dynamic_cast<DropdownList*>((*gui)["dd"]);
    ASSERT_NE(nullptr, dd);
    EXPECT_EQ(nullptr, dd->getItems());
    NotingQueue queue;
    InputEvaluator evaluator;
    dd->setTrigger(new Trigger(&evaluator, 7, "changed", "", ctrlDown));
    dd->doClick(&queue);  // no list at all
    dd->setItems(newList({}));
    EXPECT_EQ("", dd->getCaption());
    dd->doClick(&queue);
    EXPECT_EQ(nullptr, dd->getSelected());
    EXPECT_EQ("", dd->getCaption());
    EXPECT_EQ((std::vector<std::string>{"changed", "changed"}), queue.fired);
}

TEST(DropdownList, ReplacingTheListKeepsTheSelectionOnlyWhenTheNewListHasIt) {
    destroyed = 0;
    {
        DropdownList dd;
        List* first = newList({"A", "B", "C"});
        dd.setItems(first);
        dd.doClick(nullptr);
        ListItem* b = dd.getSelected();
        ASSERT_EQ("B", b->caption);

        // A second list holding the very same item (taken out of the first) keeps it...
        List* second = newList({"X"});
        *first -= b;
        *second += b;
        dd.setItems(second);
        EXPECT_EQ(b, dd.getSelected());
        EXPECT_EQ(2, destroyed) << "the first list was released and destroyed (A, C)";
        // ...an equal-looking item in another list does not.
        dd.setItems(newList({"B", "Y"}));
        EXPECT_EQ("B", dd.getCaption());
        EXPECT_NE(b, dd.getSelected());
        EXPECT_EQ(4, destroyed);
        dd.doClick(nullptr);
        EXPECT_EQ("Y", dd.getCaption());
        List* third = dd.getItems();
        dd.setItems(third);  // the same list again: no extra holder, selection kept
        EXPECT_EQ(1, third->getUseCount());
        EXPECT_EQ("Y", dd.getCaption());
        dd.setItems(nullptr);
        EXPECT_EQ(6, destroyed);
        EXPECT_EQ(nullptr, dd.getSelected()) << "nothing points into the released list";
        EXPECT_EQ("", dd.getCaption());
        dd.setItems(nullptr);
    }
    EXPECT_EQ(6, destroyed);
}

TEST(DropdownList, ASharedListLivesUntilBothWidgetsReleasedIt) {
    destroyed = 0;
    List* shared = newList({"A", "B"});
    DropdownList* one = new DropdownList;
    {
        DropdownList two;
        one->setItems(shared);
        two.setItems(shared);
        EXPECT_EQ(2, shared->getUseCount());
        one->doClick(nullptr);
        EXPECT_EQ("B", one->getCaption());
        EXPECT_EQ("A", two.getCaption()) << "each widget keeps its own selection";

        one->setItems(nullptr);
        one->setItems(nullptr);  // released twice from one widget: still one holder left
        EXPECT_EQ(0, destroyed);
        EXPECT_EQ(1, shared->getUseCount());
        one->setItems(shared);
        delete one;
        EXPECT_EQ(0, destroyed);
        two.doClick(nullptr);
        EXPECT_EQ("B", two.getCaption());
    }
    EXPECT_EQ(2, destroyed) << "the last holder destroyed the list";
}

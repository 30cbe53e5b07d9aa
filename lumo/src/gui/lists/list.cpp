#include "gui/lists/list.hpp"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "debug/log.hpp"
#include "debug/message_stack.hpp"
#include "gui/core/gui_names.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace gui {

void ListItem::getFromNode(const xml::Node* node) {
    debug::MessageScope scope("ListItem::getFromNode()");
    caption = node->getAttribute(XML_GUI_CAPTION, caption);
    if (const std::string* text = node->getAttribute(XML_GUI_ID)) {
        // Read like every integer attribute (automatic base, trailing text ignored), but a text
        // without any number is reported instead of quietly becoming 0.
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(text->c_str(), &end, 0);
        if (end == text->c_str() || errno == ERANGE || v < INT_MIN || v > INT_MAX)
            debug::warning(dbgGui, "Could not decode value for Item.id: \"%s\".", text->c_str());
        else
            id = static_cast<int>(v);
    }
    data = nullptr;
}

List::~List() {
    clear();
}

void List::use() {
    ++useCount;
}

void List::unuse() {
    if (--useCount < 1)
        delete this;
}

void List::clear() {
    debug::MessageScope scope("List::clear()");
    for (ListItem* item : items)
        delete item;
    items.clear();
}

List& List::operator+=(ListItem* item) {
    if (item && !contains(item))
        items.push_back(item);
    return *this;
}

List& List::operator-=(ListItem* item) {
    items.remove(item);
    return *this;
}

ListItem* List::findByData(const void* data) const {
    for (ListItem* item : items)
        if (item->data == data)
            return item;
    return nullptr;
}

bool List::contains(const ListItem* item) const {
    return std::find(items.begin(), items.end(), item) != items.end();
}

ListItem* List::next(const ListItem* item) const {
    if (items.empty())
        return nullptr;
    Items::const_iterator i = std::find(items.begin(), items.end(), item);
    if (i == items.end() || ++i == items.end())
        return items.front();
    return *i;
}

}  // namespace gui
}  // namespace lumo

#pragma once
// Helpers for the list and slider tests: GUI descriptions parsed from text, and a control queue
// that notes what the widgets fire.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controls/control_queue.hpp"
#include "controls/trigger.hpp"
#include "debug/log.hpp"
#include "gui/core/gui.hpp"
#include "gui/lists/list.hpp"
#include "xml/node.hpp"
#include "xml/xml_reader.hpp"

namespace lumo {
namespace testing {

/// The tree of an XML text; a parse failure fails the test and gives null.
inline std::unique_ptr<xml::Node> parseXml(const std::string& text) {
    xml::DOMXMLHandler handler;
    xml::XMLReader reader(&handler);
    std::FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (!f) {
        ADD_FAILURE() << "fmemopen failed";
        return nullptr;
    }
    try {
        reader.readStream(f, "test text");
    } catch (const std::string& message) {
        ADD_FAILURE() << message;
    }
    std::fclose(f);
    return std::unique_ptr<xml::Node>(handler.takeRoot());
}

/// A GUI built from `components` (component elements) inside a 800 x 600 GUI node, shown and
/// active. Log groups are named so that log lines can be compared.
inline std::unique_ptr<gui::GUI> buildGui(const std::string& components) {
    debug::nameFrameworkGroups();
    std::unique_ptr<gui::GUI> g(new gui::GUI);
    std::unique_ptr<xml::Node> node = parseXml(
        "<gui name=\"test\" width=\"800\" height=\"600\" visible=\"1\">" + components + "</gui>");
    if (node)
        g->getFromNode(node.get(), "");
    g->setActive(true);
    return g;
}

/// An item that counts its destructions, so that ownership mistakes (leaks, double frees) show
/// as wrong numbers even without a sanitizer.
inline int destroyed = 0;
struct CountedItem : gui::ListItem {
    using ListItem::ListItem;
    ~CountedItem() override { ++destroyed; }
};

/// Notes the name of each trigger as it is queued.
struct NotingQueue : ControlQueue {
    using ControlQueue::operator<<;
    ControlQueue& operator<<(Trigger* trigger) override {
        fired.push_back(trigger->name);
        return ControlQueue::operator<<(trigger);
    }
    std::vector<std::string> fired;
};

}  // namespace testing
}  // namespace lumo

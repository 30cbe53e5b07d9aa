#include "xml/xml_reader.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "debug/message_stack.hpp"
#include "support/temp_dir.hpp"
#include "xml/load_properties.hpp"
#include "xml/node.hpp"

using lumo::testing::readFileText;
using lumo::testing::TempDir;
using lumo::xml::loadXML;
using lumo::xml::Node;

namespace {

// The message thrown by loading `path`, or "" when it loaded.
std::string loadError(const std::string& path) {
    try {
        std::unique_ptr<Node> root(loadXML(path.c_str()));
        return "";
    } catch (const std::string& message) {
        return message;
    }
}

std::string nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<e>\n";
    for (int i = 0; i < depth; ++i)
        text += "</e>";
    return text;
}

struct Recorder : lumo::xml::XMLHandler {
    void startElement(const char* name, const char** attributes) override {
        std::string event = std::string("+") + name;
        for (; attributes && *attributes; ++attributes)
            event += std::string(" ") + *attributes;
        events.push_back(event);
        messages.push_back(lumo::debug::getLatestMessage());
        if (throwAt == name)
            throw std::string("handler refused ") + name;
        if (throwOther == name)
            throw std::runtime_error("other failure");
    }
    void endElement(const char* name) override { events.push_back(std::string("-") + name); }
    std::vector<std::string> events, messages;
    std::string throwAt, throwOther;
};

}  // namespace

TEST(XmlReader, LoadsElementsAndAttributesOnly) {
    TempDir dir;
    std::string path = dir.write("in.xml",
                                 "<?xml version=\"1.0\"?>\n"
                                 "<!-- comment -->\n"
                                 "<bank z=\"1\" a=\"x &amp; &lt;y&gt;\">\n"
                                 "  text that is dropped\n"
                                 "  <image file=\"a.png\" name=\"a\"/>\n"
                                 "  <?pi ignored?>\n"
                                 "  <group><item/></group>\n"
                                 "</bank>\n");
    std::size_t depth = lumo::debug::messageCount();
    std::unique_ptr<Node> root(loadXML(path.c_str()));
    EXPECT_EQ(lumo::debug::messageCount(), depth);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->parent, nullptr);
    EXPECT_EQ(root->name, "bank");
    EXPECT_EQ(root->getAttribute("a", ""), "x & <y>");
    ASSERT_EQ(root->children.size(), 2u);
    Node* group = root->children.back();
    EXPECT_EQ(group->parent, root.get());
    ASSERT_EQ(group->children.size(), 1u);
    EXPECT_EQ(group->children.front()->name, "item");

    // Saving again drops the text and sorts the attributes.
    std::string out = dir.file("out.xml");
    root->saveXML(out.c_str());
    EXPECT_EQ(readFileText(out),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
              "<bank a=\"x &amp; &lt;y&gt;\" z=\"1\">\n"
              "  <image file=\"a.png\" name=\"a\"/>\n"
              "  <group>\n"
              "    <item/>\n"
              "  </group>\n"
              "</bank>\n");
    std::unique_ptr<Node> again(loadXML(out.c_str()));
    EXPECT_EQ(again->toString(0), root->toString(0));
}

TEST(XmlReader, HonoursTheDeclaredEncoding) {
    TempDir dir;
    std::string path = dir.write("latin.xml",
                                 "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                 "<score name=\"Jos\xe9\"/>\n");
    std::unique_ptr<Node> root(loadXML(path.c_str()));
    EXPECT_EQ(root->getAttribute("name", ""), "Jos\xc3\xa9");
}

TEST(XmlReader, ReadsAcrossChunkBoundaries) {
    TempDir dir;
    // Element and attribute texts straddle many 1023-byte chunks.
    std::string text = "<list>";
    for (int i = 0; i < 2000; ++i)
        text += "<entry index=\"" + std::to_string(i) + "\" pad=\"xyz\"/>";
    text += "</list>";
    std::unique_ptr<Node> root(loadXML(dir.write("big.xml", text).c_str()));
    ASSERT_EQ(root->children.size(), 2000u);
    long expected = 0;
    for (const Node* child : root->children)
        EXPECT_EQ(child->getAttributeLong("index", -1), expected++);

    // A document cut off exactly at a chunk boundary is still seen to be unfinished.
    for (std::size_t size : {1023u, 2046u}) {
        std::string cut = "<root>";
        cut.append(size - cut.size(), ' ');
        std::string path = dir.write("cut.xml", cut);
        EXPECT_EQ(loadError(path), "no element found at line 1 in \"" + path + "\"") << size;
        std::string whole = cut + "</root>";
        EXPECT_EQ(loadError(dir.write("whole.xml", whole)), "");
    }
}

TEST(XmlReader, BadInputThrowsMessagesNamingTheFile) {
    TempDir dir;
    std::size_t depth = lumo::debug::messageCount();

    std::string missing = dir.file("missing.xml");
    EXPECT_EQ(loadError(missing), "Could not open XML file \"" + missing + "\"");

    // Opening a directory works, reading it does not.
    EXPECT_EQ(loadError(dir.path()), "Error reading XML file \"" + dir.path() + "\"");

    std::string malformed = dir.write("bad.xml", "<a>\n  <b>\n  </c>\n</a>\n");
    EXPECT_EQ(loadError(malformed), "mismatched tag at line 3 in \"" + malformed + "\"");

    std::string empty = dir.write("empty.xml", "");
    EXPECT_EQ(loadError(empty), "no element found at line 1 in \"" + empty + "\"");

    std::string blank = dir.write("blank.xml", "<?xml version=\"1.0\"?>\n\n");
    EXPECT_EQ(loadError(blank), "no element found at line 3 in \"" + blank + "\"");

    std::string twoRoots = dir.write("two.xml", "<a/>\n<b/>");
    EXPECT_EQ(loadError(twoRoots), "junk after document element at line 2 in \"" + twoRoots + "\"");

    std::string binary = dir.write("bin.xml", std::string("<a>\0\xff</a>", 7));
    EXPECT_NE(loadError(binary).find(" at line 1 in \"" + binary + "\""), std::string::npos);

    EXPECT_EQ(lumo::debug::messageCount(), depth) << "every failure path pops its messages";
}

TEST(XmlReader, LimitsNestingDepth) {
    TempDir dir;
    const int limit = lumo::xml::DOMXMLHandler::MAX_DEPTH;
    std::unique_ptr<Node> deepest(loadXML(dir.write("ok.xml", nested(limit)).c_str()));
    int levels = 1;
    for (Node* n = deepest.get(); !n->children.empty(); n = n->children.front())
        ++levels;
    EXPECT_EQ(levels, limit);

    std::string path = dir.write("deep.xml", nested(limit + 1));
    EXPECT_EQ(loadError(path), "elements nested too deeply at line " + std::to_string(limit + 1) +
                                   " in \"" + path + "\"");
    // Far deeper input stops at the limit too, without walking the rest.
    std::string huge = dir.write("huge.xml", nested(200000));
    EXPECT_EQ(loadError(huge).rfind("elements nested too deeply at line", 0), 0u);
}

TEST(XmlReader, RejectsEntityExpansionBombs) {
    TempDir dir;
    std::string dtd = "<!DOCTYPE bomb [\n <!ENTITY l0 \"lollollollollollollollollollol\">\n";
    for (int i = 1; i <= 9; ++i) {
        dtd += " <!ENTITY l" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j)
            dtd += "&l" + std::to_string(i - 1) + ";";
        dtd += "\">\n";
    }
    dtd += "]>\n";
    for (const char* body : {"<bomb>&l9;</bomb>", "<bomb a=\"&l9;\"/>"}) {
        std::string path = dir.write("bomb.xml", dtd + body);
        std::string message = loadError(path);
        EXPECT_NE(message.find("amplification"), std::string::npos) << message;
        EXPECT_NE(message.find("in \"" + path + "\""), std::string::npos) << message;
    }
    // External entities are never fetched.
    std::string external = dir.write(
        "ext.xml", "<!DOCTYPE a [<!ENTITY e SYSTEM \"/etc/passwd\">]>\n<a x=\"1\">&e;</a>");
    std::unique_ptr<Node> root(loadXML(external.c_str()));
    EXPECT_TRUE(root->children.empty());
}

TEST(XmlReader, HandlerFailuresStopTheParse) {
    TempDir dir;
    std::string path = dir.write("doc.xml", "<a k=\"v\">\n<b/>\n<c/>\n</a>\n");
    Recorder recorder;
    lumo::xml::XMLReader reader(&recorder);
    reader.readFile(path);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"+a k v", "+b", "-b", "+c", "-c", "-a"}));
    EXPECT_EQ(recorder.messages, std::vector<std::string>(3, "xmlStart()"));

    Recorder refusing;
    refusing.throwAt = "b";
    lumo::xml::XMLReader refusingReader(&refusing);
    try {
        refusingReader.readFile(path);
        ADD_FAILURE() << "no throw";
    } catch (const std::string& message) {
        EXPECT_EQ(message, "handler refused b at line 2 in \"" + path + "\"");
    }
    EXPECT_EQ(refusing.events.back(), "+b") << "no event after the failure";

    // Other exception types come through unchanged, and the reader can be used again.
    Recorder other;
    other.throwOther = "c";
    lumo::xml::XMLReader otherReader(&other);
    EXPECT_THROW(otherReader.readFile(path), std::runtime_error);
    other.throwOther.clear();
    other.events.clear();
    otherReader.readFile(path);
    EXPECT_EQ(other.events.size(), 6u);
}

// Inputs the fuzzer once found failing, and its seeds, keep the load guarantees.
TEST(XmlReader, FuzzerFindingsKeepTheLoadGuarantees) {
    const char* data = std::getenv("LUMO_TEST_DATA");
    if (!data)
        data = LUMO_DEFAULT_TEST_DATA;
    TempDir dir;
    int checked = 0;
    for (const char* sub : {"/xml/regressions", "/xml/corpus"}) {
        std::string folder = std::string(data) + sub;
        DIR* d = ::opendir(folder.c_str());
        ASSERT_NE(d, nullptr) << folder;
        while (dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            std::string path = folder + "/" + e->d_name;
            EXPECT_EQ(lumo::testing::checkLoadProperties(path, dir.file("scratch.xml")), "")
                << path;
            ++checked;
        }
        ::closedir(d);
    }
    EXPECT_GE(checked, 6);

    // expat takes 0xBA for a name character in a Latin-1 document; the name arrives as UTF-8.
    std::unique_ptr<Node> latin(
        loadXML((std::string(data) + "/xml/regressions/latin1-name-char.xml").c_str()));
    ASSERT_EQ(latin->children.size(), 1u);
    EXPECT_EQ(latin->children.front()->name, "\xc2\xba");
}

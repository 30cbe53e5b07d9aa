#include "xml/xml_reader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "debug/message_stack.hpp"
#include "support/temp_dir.hpp"
#include "xml/load_properties.hpp"
#include "xml/node.hpp"

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

}  // namespace

TEST(XmlReader, LoadsElementsAndAttributesOnly) {
    TempDir dir;
    std::string path =
        dir.write("in.xml",
                  "<?xml version='1.0' encoding='ISO-8859-1'?>\n<!-- comment -->\n"
                  "<bank z='Jos\xe9' a='x &amp; &lt;y&gt;'>\n  text that is dropped\n"
                  "  <image file='a.png' name='a'/>\n  <?pi ignored?>\n"
                  "  <group><item/></group>\n</bank>\n");
    std::size_t depth = lumo::debug::messageCount();
    std::unique_ptr<Node> root(loadXML(path.c_str()));
    EXPECT_EQ(lumo::debug::messageCount(), depth);
    ASSERT_EQ(root->children.size(), 2u);
    EXPECT_EQ(root->children[1]->parent, root.get());
    // Saving again drops the text and sorts the attributes; the declared encoding was honoured.
    std::string out = dir.file("out.xml");
    root->saveXML(out.c_str());
    EXPECT_EQ(
        lumo::testing::readFileText(out),
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
        "<bank a=\"x &amp; &lt;y&gt;\" z=\"Jos&#xE9;\">\n  <image file=\"a.png\" name=\"a\"/>\n"
        "  <group>\n    <item/>\n  </group>\n</bank>\n");

    // Element and attribute texts straddle the pieces the file is read in, and one value is
    // longer than any piece.
    const std::size_t piece = lumo::xml::XMLReader::CHUNK_SIZE;
    std::string text = "<list>";
    for (int i = 0; i < 20000; ++i)
        text += "<entry index='" + std::to_string(i) + "' pad='xyz'/>";
    const std::string longValue(5 * piece, 'v');
    text += "<long v='" + longValue + "'/>";
    root.reset(loadXML(dir.write("big.xml", text + "</list>").c_str()));
    ASSERT_EQ(root->children.size(), 20001u);
    for (long i = 0; i < 20000; ++i)
        ASSERT_EQ(root->children[i]->getAttributeLong("index", -1), i);
    EXPECT_EQ((*root->children.back())["v"], longValue);

    // Many attributes, in anything but name order, come out sorted by name.
    text = "<many";
    for (int i = 999; i >= 0; --i)
        text += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
    root.reset(loadXML(dir.write("many.xml", text + "/>").c_str()));
    ASSERT_EQ(root->attributes.size(), 1000u);
    EXPECT_TRUE(std::is_sorted(root->attributes.begin(), root->attributes.end()));
    for (const auto& a : root->attributes)
        ASSERT_EQ("a" + a.second, a.first);
}

TEST(XmlReader, BadInputThrowsMessagesNamingFileAndLine) {
    TempDir dir;
    std::size_t depth = lumo::debug::messageCount();
    const int limit = lumo::xml::DOMXMLHandler::MAX_DEPTH;
    // The first piece the reader takes, whole; and the first two (the second is twice as long).
    const std::size_t piece = lumo::xml::XMLReader::CHUNK_SIZE;
    const std::string cut = "<root>" + std::string(piece - 6, ' ');
    const std::pair<std::string, std::string> cases[] = {
        {"<a>\n  <b>\n  </c>\n</a>\n", "mismatched tag at line 3"},
        {"", "no element found at line 1"},
        {"<?xml version=\"1.0\"?>\n\n", "no element found at line 3"},
        {"<a/>\n<b/>", "junk after document element at line 2"},
        {nested(limit + 1), "elements nested too deeply at line " + std::to_string(limit + 1)},
        // A document cut off exactly at a chunk boundary is still seen to be unfinished.
        {cut, "no element found at line 1"},
        {cut + std::string(2 * piece, ' '), "no element found at line 1"},
    };
    int n = 0;
    for (const auto& c : cases) {
        std::string path = dir.write("bad" + std::to_string(n++) + ".xml", c.first);
        EXPECT_EQ(loadError(path), c.second + " in \"" + path + "\"");
    }
    EXPECT_EQ(loadError(dir.write("whole.xml", cut + "</root>")), "");

    std::string missing = dir.file("missing.xml");
    EXPECT_EQ(loadError(missing), "Could not open XML file \"" + missing + "\"");
    // Opening a directory works, reading it does not.
    EXPECT_EQ(loadError(dir.path()), "Error reading XML file \"" + dir.path() + "\"");
    std::string binary = dir.write("bin.xml", std::string("<a>\0\xff</a>", 7));
    EXPECT_NE(loadError(binary).find(" at line 1 in \"" + binary + "\""), std::string::npos);
    // Far deeper input stops at the limit, without walking the rest.
    std::string huge = dir.write("huge.xml", nested(200000));
    EXPECT_EQ(loadError(huge).rfind("elements nested too deeply at line", 0), 0u);
    EXPECT_EQ(lumo::debug::messageCount(), depth) << "every failure path pops its messages";

    std::unique_ptr<Node> deepest(loadXML(dir.write("ok.xml", nested(limit)).c_str()));
    int levels = 1;
    for (Node* n = deepest.get(); !n->children.empty(); n = n->children.front())
        ++levels;
    EXPECT_EQ(levels, limit);
}

TEST(XmlReader, RejectsEntityExpansionAndExternalEntities) {
    TempDir dir;
    std::string dtd = "<!DOCTYPE bomb [\n <!ENTITY l0 'lollollollollollollollollollol'>\n";
    for (int i = 1; i <= 9; ++i) {
        std::string ref = "&l" + std::to_string(i - 1) + ";";
        dtd += " <!ENTITY l" + std::to_string(i) + " '";
        for (int j = 0; j < 10; ++j)
            dtd += ref;
        dtd += "'>\n";
    }
    for (const char* body : {"]>\n<bomb>&l9;</bomb>", "]>\n<bomb a='&l9;'/>"}) {
        std::string path = dir.write("bomb.xml", dtd + body);
        std::string message = loadError(path);
        EXPECT_NE(message.find("amplification"), std::string::npos) << message;
        EXPECT_NE(message.find("in \"" + path + "\""), std::string::npos) << message;
    }
    std::unique_ptr<Node> root(loadXML(
        dir.write("ext.xml", "<!DOCTYPE a [<!ENTITY e SYSTEM '/etc/passwd'>]>\n<a x='1'>&e;</a>")
            .c_str()));
    EXPECT_TRUE(root->children.empty());
}

TEST(XmlReader, HandlerExceptionsComeThroughAndTheReaderStaysUsable) {
    struct Refusing : lumo::xml::DOMXMLHandler {
        void startElement(const char* name, const char** attributes) override {
            if (refuse && std::string(name) == "b")
                throw std::runtime_error("refused");
            DOMXMLHandler::startElement(name, attributes);
        }
        bool refuse = true;
    } handler;
    TempDir dir;
    std::string path = dir.write("doc.xml", "<a k='v'>\n<b/>\n<c/>\n</a>\n");
    lumo::xml::XMLReader reader(&handler);
    EXPECT_THROW(reader.readFile(path), std::runtime_error);
    EXPECT_EQ(handler.root->toString(0), "<a k=\"v\"/>\n") << "no event after the failure";
    delete handler.takeRoot();
    handler.refuse = false;
    reader.readFile(path);
    EXPECT_EQ(handler.root->children.size(), 2u);
}

// Inputs the fuzzer once found failing, and its seeds, keep the load guarantees.
TEST(XmlReader, FuzzerFindingsKeepTheLoadGuarantees) {
    const char* data = std::getenv("LUMO_TEST_DATA");
    std::string root = std::string(data ? data : LUMO_DEFAULT_TEST_DATA) + "/xml/";
    TempDir dir;
    int checked = 0;
    for (const char* sub : {"regressions", "corpus"}) {
        DIR* d = ::opendir((root + sub).c_str());
        ASSERT_NE(d, nullptr) << root + sub;
        while (dirent* e = ::readdir(d)) {
            std::string path = root + sub + "/" + e->d_name;
            if (e->d_name[0] == '.')
                continue;
            EXPECT_EQ(lumo::testing::checkLoadProperties(path, dir.file("scratch.xml")), "")
                << path;
            ++checked;
        }
        ::closedir(d);
    }
    EXPECT_GE(checked, 6);

    // expat takes 0xBA for a name character in a Latin-1 document; the name arrives as UTF-8.
    std::unique_ptr<Node> latin(loadXML((root + "regressions/latin1-name-char.xml").c_str()));
    ASSERT_EQ(latin->children.size(), 1u);
    EXPECT_EQ(latin->children.front()->name, "\xc2\xba");
}

#include "xml/node.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "debug/message_stack.hpp"
#include "support/temp_dir.hpp"

using lumo::testing::readFileText;
using lumo::testing::TempDir;
using lumo::xml::Node;

namespace {

// Counts destructions so that tests can see which nodes a delete reached.
struct CountedNode : Node {
    explicit CountedNode(int& counter, const char* name = "n")
        : Node(name, nullptr), count(counter) {}
    ~CountedNode() override { ++count; }
    int& count;
};

const char* const DECLARATION = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n";

}  // namespace

TEST(Node, BuildsFromParserAttributesLastValueWinning) {
    std::size_t depth = lumo::debug::messageCount();
    const char* attrs[] = {"b", "1", "a", "2", "b", "3", nullptr};
    Node node("item", attrs);
    EXPECT_EQ(node.name, "item");
    EXPECT_EQ(node.attributes, (Node::Attributes{{"a", "2"}, {"b", "3"}}));
    EXPECT_EQ(node.parent, nullptr);
    EXPECT_TRUE(node.children.empty());
    EXPECT_EQ(lumo::debug::messageCount(), depth);

    Node bare("bare", nullptr);
    EXPECT_TRUE(bare.attributes.empty());
    Node empty;
    EXPECT_EQ(empty.name, "");
}

TEST(Node, ChildrenMoveBetweenParentsAndDieWithThem) {
    int destroyed = 0;
    auto* first = new CountedNode(destroyed, "first");
    Node second("second", nullptr);
    auto* child = new CountedNode(destroyed, "child");
    auto* other = new CountedNode(destroyed, "other");

    *first += child;
    *first += other;
    EXPECT_EQ(child->parent, first);
    EXPECT_EQ(first->children, (Node::Nodes{child, other}));

    second += child;
    EXPECT_EQ(child->parent, &second);
    EXPECT_EQ(first->children, (Node::Nodes{other}));
    EXPECT_EQ(second.children, (Node::Nodes{child}));

    *first -= other;
    EXPECT_EQ(other->parent, nullptr);
    EXPECT_TRUE(first->children.empty());
    EXPECT_EQ(destroyed, 0);
    *first += other;

    // Deleting a child unlinks it from its parent.
    delete child;
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(second.children.empty());

    // Deleting a root takes its whole subtree.
    auto* grandchild = new CountedNode(destroyed, "grandchild");
    *other += grandchild;
    *first += new CountedNode(destroyed, "third");
    delete first;
    EXPECT_EQ(destroyed, 5);
}

TEST(Node, AttributeAccessAndConversions) {
    Node node("n", nullptr);
    EXPECT_EQ(node.getAttribute("x"), nullptr);
    EXPECT_EQ(node.getAttribute("x", "dflt"), "dflt");
    node["x"];
    ASSERT_NE(node.getAttribute("x"), nullptr);
    EXPECT_EQ(*node.getAttribute("x"), "");
    node["x"] = "v";
    EXPECT_EQ(node.getAttribute("x", "dflt"), "v");

    const std::pair<const char*, long> longs[] = {{"010", 8}, {"0x10", 16},  {"0X1f", 31},
                                                  {"08", 0},  {"12abc", 12}, {"  -7", -7},
                                                  {"+3", 3},  {"abc", 0},    {"", 0}};
    for (const auto& c : longs) {
        node["l"] = c.first;
        EXPECT_EQ(node.getAttributeLong("l", 99), c.second) << c.first;
    }
    EXPECT_EQ(node.getAttributeLong("absent", 99), 99);
    node.setAttributeLong("l", -42);
    EXPECT_EQ(node["l"], "-42");

    const std::pair<const char*, float> floats[] = {
        {"1.5", 1.5f}, {"-2e2", -200.0f}, {"3.25xyz", 3.25f}, {"nope", 0.0f}, {".5", 0.5f}};
    for (const auto& c : floats) {
        node["f"] = c.first;
        EXPECT_FLOAT_EQ(node.getAttributeFloat("f", 9.0f), c.second) << c.first;
    }
    EXPECT_FLOAT_EQ(node.getAttributeFloat("absent", 9.0f), 9.0f);
    node.setAttributeFloat("f", 0.25f);
    EXPECT_EQ(node["f"], "0.25");
    node.setAttributeFloat("f", 3.0f);
    EXPECT_EQ(node["f"], "3");

    for (const char* yes : {"1", "t", "true"}) {
        node["b"] = yes;
        EXPECT_TRUE(node.getAttributeBool("b", false)) << yes;
    }
    for (const char* no : {"TRUE", "yes", "false", "0", "", "True", "true "}) {
        node["b"] = no;
        EXPECT_FALSE(node.getAttributeBool("b", true)) << no;
    }
    EXPECT_TRUE(node.getAttributeBool("absent", true));
    EXPECT_FALSE(node.getAttributeBool("absent", false));
    node.setAttributeBool("b", true);
    EXPECT_EQ(node["b"], "true");
    node.setAttributeBool("b", false);
    EXPECT_EQ(node["b"], "false");
}

TEST(Node, EncodeEscapesOnlyMarkupCharacters) {
    EXPECT_EQ(lumo::xml::encode("a&b\"c<d>e'f"), "a&amp;b&quot;c&lt;d&gt;e'f");
    EXPECT_EQ(lumo::xml::encode("&amp;"), "&amp;amp;");
    EXPECT_EQ(lumo::xml::encode(std::string("\xc3\xa9\0x", 4)), std::string("\xc3\xa9\0x", 4));
}

TEST(Node, ToStringLaysOutTheTree) {
    std::size_t depth = lumo::debug::messageCount();
    Node a("a", nullptr);
    a["y"] = "1";
    a["x"] = "a<b";
    EXPECT_EQ(a.toString(0), "<a x=\"a&lt;b\" y=\"1\"/>\n");

    Node root("root", nullptr);
    auto* mid = new Node("mid", nullptr);
    root += mid;
    *mid += new Node("leaf", nullptr);
    root += new Node("tail", nullptr);
    (*mid)["k"] = "\"q\"";
    EXPECT_EQ(root.toString(0),
              "<root>\n"
              "  <mid k=\"&quot;q&quot;\">\n"
              "    <leaf/>\n"
              "  </mid>\n"
              "  <tail/>\n"
              "</root>\n");
    EXPECT_EQ(mid->toString(3), "   <mid k=\"&quot;q&quot;\">\n     <leaf/>\n   </mid>\n");
    EXPECT_EQ(lumo::debug::messageCount(), depth);
}

TEST(Node, SaveWritesDeclarationAndReplacesTheFile) {
    TempDir dir;
    Node root("root", nullptr);
    root += new Node("child", nullptr);
    std::string path =
        dir.write("out.xml", "old content that is longer than the new one...........");
    ::chmod(path.c_str(), 0640);

    root.saveXML(path.c_str());
    EXPECT_EQ(readFileText(path), std::string(DECLARATION) + "<root>\n  <child/>\n</root>\n");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "a save keeps the permissions of the file it replaces";
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.xml"}) << "no temporary file is left";

    // Saving through a symbolic link updates the file behind it and keeps the link.
    std::string link = dir.file("link.xml");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    Node other("other", nullptr);
    other.saveXML(link.c_str());
    struct stat lst;
    ASSERT_EQ(::lstat(link.c_str(), &lst), 0);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
    EXPECT_EQ(readFileText(path), std::string(DECLARATION) + "<other/>\n");
    EXPECT_EQ(dir.entries().size(), 2u);
}

TEST(Node, FailedSaveKeepsTheOldFileAndNamesTheTarget) {
    TempDir dir;
    Node root("root", nullptr);
    for (int i = 0; i < 200; ++i)
        root += new Node("entry", nullptr);

    auto expectThrowNaming = [&](const std::string& target) {
        try {
            root.saveXML(target.c_str());
            ADD_FAILURE() << "saving to " << target << " did not throw";
        } catch (const std::string& message) {
            EXPECT_NE(message.find("\"" + target + "\""), std::string::npos) << message;
        }
    };

    // The directory does not exist, or is a plain file.
    expectThrowNaming(dir.file("missing/out.xml"));
    std::string plain = dir.write("plain", "x");
    expectThrowNaming(plain + "/out.xml");

    // The rename fails: the target is a directory.
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
    expectThrowNaming(dir.file("sub"));

    // The disk fills up in the middle of the write (simulated by a file size limit).
    const std::string old = "<old/>\n";
    std::string target = dir.write("keep.xml", old);
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    auto previous = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    expectThrowNaming(target);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(readFileText(target), old);

    // Without root rights a read-only directory refuses the temporary file.
    if (::geteuid() != 0) {
        ASSERT_EQ(::mkdir(dir.file("ro").c_str(), 0755), 0);
        std::string inRo = dir.file("ro/keep.xml");
        dir.write("ro/keep.xml", old);
        ::chmod(dir.file("ro").c_str(), 0555);
        expectThrowNaming(inRo);
        EXPECT_EQ(readFileText(inRo), old);
        ::chmod(dir.file("ro").c_str(), 0755);
    }

    std::vector<std::string> left = dir.entries();
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected{"keep.xml", "plain", "sub"};
    if (::geteuid() != 0)
        expected.push_back("ro");
    EXPECT_EQ(left, expected) << "failed saves remove their temporary files";
}

TEST(Node, SavedValuesReadBackExactlyWhateverTheirCharacters) {
    TempDir dir;
    const std::string values[] = {
        "Jos\xc3\xa9",                                // UTF-8 beyond ASCII, inside Latin-1
        "\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8e\xae",  // beyond Latin-1, and beyond 16 bits
        "tab\there\nline\r",                          // a parser would turn these into blanks
        "a&b\"c<d>e'f\x7f",
    };
    Node root("highscores", nullptr);
    for (const std::string& v : values) {
        Node* entry = new Node("entry", nullptr);
        (*entry)["name"] = v;
        root += entry;
    }
    std::string path = dir.file("scores.xml");
    root.saveXML(path.c_str());
    std::string text = readFileText(path);
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) {
        return c == '\n' || (c >= 0x20 && c <= 0x7F);
    })) << "the saved text is plain ASCII, true to its ISO-8859-1 declaration";

    std::unique_ptr<Node> loaded(lumo::xml::loadXML(path.c_str()));
    ASSERT_EQ(loaded->children.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ((*loaded->children[i])["name"], values[i]) << i;

    // A byte that is not UTF-8 is kept as the ISO-8859-1 character it would be; control
    // characters that no XML document may hold are dropped rather than making the file unreadable.
    Node odd("odd", nullptr);
    odd["v"] = std::string("x\xe9y\x01z");
    odd.saveXML(path.c_str());
    loaded.reset(lumo::xml::loadXML(path.c_str()));
    EXPECT_EQ((*loaded)["v"], "x\xc3\xa9yz");
}

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

struct CountedNode : Node {
    explicit CountedNode(int& counter) : Node("n", nullptr), count(counter) {}
    ~CountedNode() override { ++count; }
    int& count;
};

const std::string DECLARATION = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n";

}  // namespace

TEST(Node, OwnsItsChildrenWhichMoveBetweenParents) {
    const char* attrs[] = {"b", "1", "a", "2", "b", "3", nullptr};
    EXPECT_EQ(Node("item", attrs).attributes, (Node::Attributes{{"a", "2"}, {"b", "3"}}));
    int destroyed = 0;
    auto* first = new CountedNode(destroyed);
    auto* child = new CountedNode(destroyed);
    auto* other = new CountedNode(destroyed);
    Node second("second", nullptr);
    *first += child;
    *first += other;
    second += child;
    EXPECT_EQ(child->parent, &second);
    EXPECT_EQ(first->children, (Node::Nodes{other}));
    *first -= other;
    EXPECT_EQ(other->parent, nullptr);
    *first += other;
    delete child;
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(second.children.empty());
    *other += new CountedNode(destroyed);
    delete first;
    EXPECT_EQ(destroyed, 4) << "a root takes its whole subtree";
}

TEST(Node, AttributeConversions) {
    Node node("n", nullptr);
    EXPECT_EQ(node.getAttributeLong("x", 99), 99);
    const std::pair<const char*, long> longs[] = {{"010", 8},    {"0x10", 16}, {"08", 0},
                                                  {"12abc", 12}, {"  -7", -7}, {"abc", 0}};
    for (const auto& c : longs)
        EXPECT_EQ((node["l"] = c.first, node.getAttributeLong("l", 99)), c.second) << c.first;
    for (std::string value : {"1", "t", "true", "TRUE", "yes", "false", ""}) {
        bool expected = value == "1" || value == "t" || value == "true";
        EXPECT_EQ((node["b"] = value, node.getAttributeBool("b", !expected)), expected) << value;
    }
    node["f"] = "3.25xyz";
    EXPECT_FLOAT_EQ(node.getAttributeFloat("f", 9), 3.25f);

    node.setAttributeLong("l", -42);
    node.setAttributeFloat("f", 0.25f);
    node.setAttributeFloat("g", 3.0f);
    node.setAttributeBool("b", true);
    node.setAttributeBool("c", false);
    node["q"] = "a<\"b\">&'";
    EXPECT_EQ(node.toString(2),
              "  <n b=\"true\" c=\"false\" f=\"0.25\" g=\"3\" l=\"-42\" "
              "q=\"a&lt;&quot;b&quot;&gt;&amp;'\"/>\n");
    const std::string kept("e'f\xc3\xa9\0x", 7);
    EXPECT_EQ(lumo::xml::encode("a&b\"c<d>" + kept), "a&amp;b&quot;c&lt;d&gt;" + kept);
}

TEST(Node, SaveReplacesTheFileAtomicallyOrKeepsTheOldOne) {
    TempDir dir;
    Node root("root", nullptr);
    for (int i = 0; i < 200; ++i)
        root += new Node("entry", nullptr);
    const std::string old = "<old/>\n";
    auto expectFailure = [&](const std::string& target) {
        try {
            root.saveXML(target.c_str());
            ADD_FAILURE() << "saving to " << target << " did not throw";
        } catch (const std::string& message) {
            EXPECT_NE(message.find("\"" + target + "\""), std::string::npos) << message;
        }
    };
    expectFailure(dir.file("missing/out.xml"));
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
    expectFailure(dir.file("sub"));  // the rename fails

    // The disk fills up in the middle of the write (simulated by a file size limit).
    std::string path = dir.write("keep.xml", old);
    struct rlimit saved, small;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    small = saved;
    small.rlim_cur = 1000;
    auto previous = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    expectFailure(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(readFileText(path), old);

    std::vector<std::string> left = dir.entries();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"keep.xml", "sub"}))
        << "failed saves remove their temporary files";

    // A save keeps the permissions of the file it replaces, and the link that it goes through.
    std::string link = dir.file("link.xml");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    ::chmod(path.c_str(), 0640);
    Node("other", nullptr).saveXML(link.c_str());
    EXPECT_EQ(readFileText(path), DECLARATION + "<other/>\n");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir.entries().size(), 3u);
}

TEST(Node, SavedValuesReadBackExactly) {
    TempDir dir;
    // Saved value, and the value read back when it differs.
    const std::pair<std::string, std::string> values[] = {
        {"Jos\xc3\xa9", ""},                                // UTF-8 beyond ASCII, inside Latin-1
        {"\xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8e\xae", ""},  // beyond Latin-1, and 16 bits
        {"tab\there\nline\r", ""},                          // a parser would turn these into blanks
        {"a&b\"c<d>e'f\x7f", ""},
        // A byte that is not UTF-8 is kept as the ISO-8859-1 character it would be; a control
        // character that no XML document may hold is dropped rather than spoiling the file.
        {"x\xe9y\x01z", "x\xc3\xa9yz"},
    };
    Node root("highscores", nullptr);
    for (const auto& v : values) {
        root += new Node("entry", nullptr);
        (*root.children.back())["name"] = v.first;
    }
    std::string path = dir.file("scores.xml");
    root.saveXML(path.c_str());
    std::string text = readFileText(path);
    EXPECT_EQ(text.compare(0, DECLARATION.size(), DECLARATION), 0);
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) {
        return c == '\n' || (c >= 0x20 && c <= 0x7F);
    })) << "the saved text is plain ASCII, true to its ISO-8859-1 declaration";

    std::unique_ptr<Node> loaded(lumo::xml::loadXML(path.c_str()));
    ASSERT_EQ(loaded->children.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const auto& v = values[i];
        EXPECT_EQ((*loaded->children[i])["name"], v.second.empty() ? v.first : v.second) << i;
    }
}

TEST(Node, SavedNamesAreWrittenInLatin1OrTheSaveIsRefused) {
    TempDir dir;
    // Names as a UTF-8 document delivers them: ASCII, within ISO-8859-1, and beyond it.
    const std::string ascii = "<doc><entry name=\"x\"/></doc>";
    const std::string latin1 =
        "<doc><caf\xc3\xa9 \xc3\xbc"
        "ber=\"\xc3\xa9\"/></doc>";
    const std::string beyond = "<doc><\xe6\x97\xa5\xe6\x9c\xac a=\"1\"/></doc>";
    for (const std::string& source : {ascii, latin1}) {
        std::unique_ptr<Node> loaded(lumo::xml::loadXML(dir.write("in.xml", source).c_str()));
        std::string out = dir.file("out.xml");
        loaded->saveXML(out.c_str());
        std::unique_ptr<Node> again(lumo::xml::loadXML(out.c_str()));
        EXPECT_EQ(again->toString(0), loaded->toString(0)) << readFileText(out);
    }
    EXPECT_EQ(readFileText(dir.file("out.xml")), DECLARATION +
                                                     "<doc>\n  <caf\xe9 \xfc"
                                                     "ber=\"&#xE9;\"/>\n</doc>\n");

    std::unique_ptr<Node> loaded(lumo::xml::loadXML(dir.write("in.xml", beyond).c_str()));
    const std::string old = dir.write("old.xml", "<old/>\n");
    try {
        loaded->saveXML(old.c_str());
        ADD_FAILURE() << "a name beyond ISO-8859-1 was saved";
    } catch (const std::string& message) {
        EXPECT_EQ(message, "Could not save XML file \"" + old +
                               "\": the name \"\xe6\x97\xa5\xe6\x9c\xac\" cannot be written in "
                               "ISO-8859-1");
    }
    EXPECT_EQ(readFileText(old), "<old/>\n");
    EXPECT_EQ(dir.entries().size(), 3u) << "no temporary file is left";
    // An attribute name beyond ISO-8859-1 is refused the same way.
    Node node("ok", nullptr);
    node["\xe2\x82\xac"] = "euro";
    EXPECT_THROW(node.saveXML(old.c_str()), std::string);
    EXPECT_EQ(readFileText(old), "<old/>\n");
}

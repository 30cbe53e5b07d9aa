#include "resources/resource_manager.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "debug/log.hpp"
#include "support/temp_dir.hpp"
#include "xml/node.hpp"

using lumo::BasicResourceBank;
using lumo::ResourceManager;
using lumo::testing::TempDir;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Records where and what it read, and counts the banks destroyed.
struct TestBank : BasicResourceBank {
    static int destroyed;
    ~TestBank() override { ++destroyed; }
    void getFromNode(const lumo::xml::Node* node, const std::string& p) override {
        path = p;
        for (const lumo::xml::Node* child : node->children)
            items += child->getAttribute("name", "?");
        destroyedWhenRead = destroyed;
    }
    std::string path = "(not read)", items;
    int destroyedWhenRead = -1;
};
int TestBank::destroyed = 0;

struct TestBankGenerator : lumo::ResourceBankGenerator {
    explicit TestBankGenerator(const char* type, const char* tag = "(not read)")
        : type(type), tag(tag) {}
    BasicResourceBank* generateBank(const std::string& t) const override {
        if (t != type)
            return nullptr;
        TestBank* bank = new TestBank;
        bank->path = tag;
        return bank;
    }
    std::string type, tag;
};

// Registered during static initialisation, as the framework's own generators are.
TestBankGenerator testBankGenerator("testbank");

TestBank* bankOf(const ResourceManager& manager, const std::string& name) {
    return dynamic_cast<TestBank*>(manager[name]);
}

// Banks are never destroyed by the manager; the tests do it.
void destroyBanks(ResourceManager& manager) {
    ResourceManager::Banks banks = manager.banks;
    manager.clear();
    for (auto& entry : banks)
        delete entry.second;
}

TEST(ResourceManager, BankPathsJoinTheDirAttributesWithoutSeparators) {
    TempDir tmp;
    ASSERT_EQ(mkdir(tmp.file("data").c_str(), 0700), 0);
    std::string file = tmp.write("data/resources.xml",
                                 "<resources dir='maps/'><testbank name='gfx' dir='gfx/'><i "
                                 "name='a'/><i name='b'/></testbank></resources>");
    tmp.write("data/noslash.xml",
              "<resources dir='maps'><testbank name='gfx' dir='gfx/'/></resources>");
    ResourceManager manager;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    // The path of bank "gfx" after loading `name` with `dir` from the working directory `cwd`.
    auto pathOf = [&](const std::string& cwd, const std::string& name, const char* dir) {
        EXPECT_EQ(chdir(cwd.c_str()), 0);
        manager.load(name, dir);
        EXPECT_EQ(chdir(old), 0);
        std::string path = bankOf(manager, "gfx") ? bankOf(manager, "gfx")->path : "(none)";
        path += bankOf(manager, "gfx") ? bankOf(manager, "gfx")->items : "";
        destroyBanks(manager);
        return path;
    };
    const std::string cases[][4] = {
        {tmp.path(), "data/resources.xml", "", "data/maps/gfx/ab"},
        {tmp.path(), "data/noslash.xml", "", "data/mapsgfx/"},
        // No slash in the file name: names stay relative to the working directory.
        {tmp.file("data"), "resources.xml", "", "maps/gfx/ab"},
        {old, file, "", tmp.path() + "/data/maps/gfx/ab"},
        // An explicit directory replaces the file's own and gets its missing slash.
        {old, file, "assets", "assets/maps/gfx/ab"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pathOf(c[0], c[1], c[2].c_str()), c[3]) << c[1] << " " << c[2];
}

TEST(ResourceManager, SkipsBadBankElementsAndBanksWhoseNameIsTaken) {
    lumo::debug::nameFrameworkGroups();
    TempDir tmp;
    std::string file =
        tmp.write("resources.xml",
                  "<resources><testbank dir='x/'><i name='lost'/></testbank><sound name='s'/>"
                  "<testbank name='dup'><i name='first'/></testbank><testbank name='ok'/>"
                  "<testbank name='dup'><i name='second'/></testbank></resources>");
    int destroyedBefore = TestBank::destroyed;
    ResourceManager manager;
    CaptureStdout();
    manager.load(file, "");
    EXPECT_EQ(GetCapturedStdout(),
              "[lumo:resources] (error) Missing name attribute from resource bank node.\n"
              "[lumo:resources] (warning) Unknown resource bank type \"sound\".\n"
              "[lumo:resources] (error) Resource bank name \"dup\" in \"" +
                  file + "\" is already taken. Skipping bank.\n");
    EXPECT_EQ(manager.banks.size(), 2u);
    EXPECT_NE(bankOf(manager, "ok"), nullptr);
    // Banks read before may point into the first "dup": it stays, and nothing is destroyed.
    ASSERT_NE(bankOf(manager, "dup"), nullptr);
    EXPECT_EQ(bankOf(manager, "dup")->items, "first");
    EXPECT_EQ(TestBank::destroyed, destroyedBefore);

    // Replacing a bank from code still destroys the older one.
    manager.add("dup", new TestBank);
    EXPECT_EQ(TestBank::destroyed, destroyedBefore + 1);
    destroyBanks(manager);
}

TEST(ResourceManager, UnreadableFilesThrowMessagesNamingTheFile) {
    TempDir tmp;
    ResourceManager manager;
    for (const std::string& file :
         {tmp.file("missing.xml"), tmp.write("broken.xml", "<resources><testbank name='a'>")}) {
        try {
            manager.load(file, "");
            ADD_FAILURE() << "no exception for " << file;
        } catch (const std::string& message) {
            EXPECT_NE(message.find("\"" + file + "\""), std::string::npos) << message;
        }
    }
    // A file of another kind is ignored silently.
    CaptureStdout();
    manager.load(tmp.write("foreign.xml", "<images><testbank name='a'/></images>"), "");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_TRUE(manager.banks.empty());
}

TEST(ResourceManager, BanksOutliveTheManager) {
    int destroyedBefore = TestBank::destroyed;
    TestBank* kept = new TestBank;
    {
        // Adding the same bank again, under its name or another one, or to a second manager,
        // never destroys it nor leaves it held twice.
        ResourceManager manager, other;
        manager.add("kept", kept);
        manager.add("kept", kept);
        other.add("kept", kept);
        manager.add("moved", kept);
        EXPECT_TRUE(other.banks.empty());
        EXPECT_EQ(manager.banks, (ResourceManager::Banks{{"moved", kept}}));
        EXPECT_EQ(kept->manager, &manager);
    }
    EXPECT_EQ(TestBank::destroyed, destroyedBefore);
    EXPECT_EQ(kept->manager, nullptr);
    delete kept;
}

TEST(ResourceBankGenerators, AreAskedInRegistrationOrderUntilDestroyed) {
    ResourceManager manager;
    auto madeBy = [&manager](const std::string& type) {
        std::unique_ptr<BasicResourceBank> bank(manager.createResourceBank(type));
        TestBank* made = dynamic_cast<TestBank*>(bank.get());
        return made ? made->path : std::string("none");
    };
    {
        TestBankGenerator first("twin", "first");
        TestBankGenerator second("twin", "second");
        EXPECT_EQ(madeBy("twin"), "first");
        // Unregistering removes every occurrence; registering again appends.
        lumo::registerResourceBankGenerator(&first);
        lumo::unregisterResourceBankGenerator(&first);
        lumo::registerResourceBankGenerator(&first);
        EXPECT_EQ(madeBy("twin"), "second");
    }
    // Destroyed generators are never asked again.
    EXPECT_EQ(madeBy("twin"), "none");
    EXPECT_EQ(madeBy("testbank"), "(not read)");
}

}  // namespace

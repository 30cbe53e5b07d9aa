#include "resources/resource_manager.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "debug/log.hpp"
#include "resources/test_bank.hpp"
#include "support/temp_dir.hpp"

using lumo::BasicResourceBank;
using lumo::ResourceBankGenerator;
using lumo::ResourceManager;
using lumo::testing::TempDir;
using lumo::testing::TestBank;
using testing::HasSubstr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

int TestBank::destroyed = 0;

namespace {

class TestBankGenerator : public ResourceBankGenerator {
  public:
    explicit TestBankGenerator(const char* type, const char* tag = nullptr)
        : type(type), tag(tag) {}
    BasicResourceBank* generateBank(const std::string& t) const override {
        if (t != type)
            return nullptr;
        TestBank* bank = new TestBank;
        if (tag)
            bank->path = tag;
        return bank;
    }
    std::string type;
    const char* tag;
};

// Registered during static initialisation, as the framework's own generators are.
TestBankGenerator testBankGenerator("testbank");

TestBank* bankOf(const ResourceManager& manager, const std::string& name) {
    return dynamic_cast<TestBank*>(manager[name]);
}

/// Runs a function from `dir` as the working directory.
template <typename F>
void inDirectory(const std::string& dir, F f) {
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    f();
    ASSERT_EQ(chdir(old), 0);
}

/// Banks are never destroyed by the manager; the tests do it.
void destroyBanks(ResourceManager& manager) {
    ResourceManager::Banks banks = manager.banks;
    manager.clear();
    for (auto& entry : banks)
        delete entry.second;
}

TEST(ResourceManager, BankPathsJoinTheDirAttributesWithoutSeparators) {
    TempDir tmp;
    ASSERT_EQ(mkdir(tmp.file("data").c_str(), 0700), 0);
    tmp.write("data/resources.xml",
              "<resources dir=\"maps/\">"
              "<testbank name=\"gfx\" dir=\"gfx/\"><item name=\"a\"/><item name=\"b\"/></testbank>"
              "<testbank name=\"plain\"/>"
              "</resources>");
    tmp.write("data/noslash.xml",
              "<resources dir=\"maps\"><testbank name=\"gfx\" dir=\"gfx/\"/></resources>");

    ResourceManager manager;
    inDirectory(tmp.path(), [&] { manager.load("data/resources.xml", ""); });
    ASSERT_NE(bankOf(manager, "gfx"), nullptr);
    EXPECT_EQ(bankOf(manager, "gfx")->path, "data/maps/gfx/");
    EXPECT_EQ(bankOf(manager, "plain")->path, "data/maps/");
    EXPECT_EQ(bankOf(manager, "gfx")->size(), 2u);
    EXPECT_EQ(manager["gfx"]->manager, &manager);
    EXPECT_EQ(manager["nothing"], nullptr);
    destroyBanks(manager);

    inDirectory(tmp.path(), [&] { manager.load("data/noslash.xml", ""); });
    EXPECT_EQ(bankOf(manager, "gfx")->path, "data/mapsgfx/");
    destroyBanks(manager);

    // No slash in the file name: names stay relative to the working directory.
    inDirectory(tmp.file("data"), [&] { manager.load("resources.xml", ""); });
    EXPECT_EQ(bankOf(manager, "gfx")->path, "maps/gfx/");
    destroyBanks(manager);

    // An explicit directory replaces the file's own and gets its missing slash.
    manager.load(tmp.file("data/resources.xml"), "assets");
    EXPECT_EQ(bankOf(manager, "gfx")->path, "assets/maps/gfx/");
    destroyBanks(manager);
    manager.load(tmp.file("data/resources.xml"), "");
    EXPECT_EQ(bankOf(manager, "gfx")->path, tmp.path() + "/data/maps/gfx/");
    destroyBanks(manager);
}

TEST(ResourceManager, SkipsBadBankElementsAndReplacesBanksOfTheSameName) {
    lumo::debug::nameFrameworkGroups();
    TempDir tmp;
    std::string file = tmp.write("resources.xml",
                                 "<resources>"
                                 "<testbank dir=\"x/\"><item name=\"lost\"/></testbank>"
                                 "<sound name=\"s\"/>"
                                 "<testbank name=\"dup\"><item name=\"first\"/></testbank>"
                                 "<testbank name=\"ok\"/>"
                                 "<testbank name=\"dup\"><item name=\"second\"/></testbank>"
                                 "</resources>");
    std::vector<std::string> deaths;
    int destroyedBefore = TestBank::destroyed;

    ResourceManager manager;
    CaptureStdout();
    manager.load(file, "");
    std::string log = GetCapturedStdout();

    EXPECT_THAT(log, HasSubstr("[lumo:resources] (error) Missing name attribute from resource "
                               "bank node.\n"));
    EXPECT_THAT(log,
                HasSubstr("[lumo:resources] (warning) Unknown resource bank type \"sound\".\n"));
    EXPECT_EQ(manager.banks.size(), 2u);
    EXPECT_EQ(manager["s"], nullptr);
    ASSERT_NE(bankOf(manager, "ok"), nullptr);

    // The first "dup" was destroyed before the second one read its element.
    TestBank* dup = bankOf(manager, "dup");
    ASSERT_NE(dup, nullptr);
    EXPECT_EQ(dup->destroyedWhenRead, destroyedBefore + 1);
    EXPECT_EQ(TestBank::destroyed, destroyedBefore + 1);
    EXPECT_EQ(dup->at("first"), nullptr);
    EXPECT_NE(dup->at("second"), nullptr);
    destroyBanks(manager);
}

TEST(ResourceManager, BanksOutliveTheManager) {
    int destroyedBefore = TestBank::destroyed;
    TestBank* kept = new TestBank;
    *kept += new lumo::testing::TestResource("r");
    {
        ResourceManager manager;
        manager.add("kept", kept);
        EXPECT_EQ(kept->manager, &manager);

        // Adding the same bank again, under its name or another one, never destroys it.
        manager.add("kept", kept);
        manager.add("moved", kept);
        EXPECT_EQ(manager["kept"], nullptr);
        EXPECT_EQ(manager["moved"], kept);
        manager.add("kept", kept);
        EXPECT_EQ(manager.banks.size(), 1u);
        EXPECT_EQ(TestBank::destroyed, destroyedBefore);

        // A bank handed to a second manager leaves the first.
        ResourceManager other;
        other.add("kept", kept);
        EXPECT_EQ(manager["kept"], nullptr);
        EXPECT_EQ(kept->manager, &other);
        manager.add("kept", kept);
        EXPECT_EQ(other["kept"], nullptr);
    }
    EXPECT_EQ(TestBank::destroyed, destroyedBefore);
    EXPECT_EQ(kept->manager, nullptr);
    EXPECT_NE(kept->at("r"), nullptr);
    delete kept;
    EXPECT_EQ(TestBank::destroyed, destroyedBefore + 1);
}

TEST(ResourceManager, UnreadableFilesThrowMessagesNamingTheFile) {
    TempDir tmp;
    std::string missing = tmp.file("missing.xml");
    std::string broken = tmp.write("broken.xml", "<resources><testbank name=\"a\">");
    std::string foreign = tmp.write("foreign.xml", "<images><testbank name=\"a\"/></images>");

    ResourceManager manager;
    for (const std::string& file : {missing, broken}) {
        try {
            manager.load(file, "");
            ADD_FAILURE() << "no exception for " << file;
        } catch (const std::string& message) {
            EXPECT_THAT(message, HasSubstr(file));
        }
    }
    EXPECT_TRUE(manager.banks.empty());

    // A file of another kind is ignored silently.
    CaptureStdout();
    manager.load(foreign, "");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_TRUE(manager.banks.empty());
}

TEST(ResourceBankGenerators, AreAskedInRegistrationOrderUntilDestroyed) {
    ResourceManager manager;
    auto madeBy = [&manager](const std::string& type) {
        std::unique_ptr<BasicResourceBank> bank(manager.createResourceBank(type));
        TestBank* made = dynamic_cast<TestBank*>(bank.get());
        return made ? made->path : std::string("none");
    };
    EXPECT_EQ(madeBy("twin"), "none");
    {
        TestBankGenerator first("twin", "first");
        TestBankGenerator second("twin", "second");
        const auto& generators = lumo::getGenerators();
        EXPECT_EQ(generators.front(), &testBankGenerator);
        EXPECT_EQ(generators.back(), &second);
        EXPECT_EQ(madeBy("twin"), "first");
        EXPECT_EQ(madeBy("Twin"), "none");

        // Unregistering removes every occurrence; registering again appends.
        lumo::registerResourceBankGenerator(&first);
        lumo::unregisterResourceBankGenerator(&first);
        EXPECT_EQ(std::count(generators.begin(), generators.end(), &first), 0);
        EXPECT_EQ(madeBy("twin"), "second");
        lumo::registerResourceBankGenerator(&first);
        EXPECT_EQ(madeBy("twin"), "second");
    }
    // Destroyed generators are never asked again.
    EXPECT_EQ(madeBy("twin"), "none");
    EXPECT_EQ(madeBy("testbank"), "(not read)");
}

}  // namespace

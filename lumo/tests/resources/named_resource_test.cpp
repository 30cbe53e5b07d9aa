#include "resources/named_resource.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using testing::ElementsAre;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

class TestBank;
// Records its destruction in `deaths`, when given.
class TestResource : public lumo::NamedResource<TestBank, std::string> {
  public:
    explicit TestResource(const std::string& name, std::vector<std::string>* deaths = nullptr)
        : NamedResource(name), deaths(deaths) {}
    ~TestResource() override {
        if (deaths)
            deaths->push_back(name);
    }
    std::vector<std::string>* deaths;
};
class TestBank : public lumo::NamedResourceBank<TestResource> {};

TEST(NamedResourceBank, ReplacesUnlinksAndClearsResources) {
    std::vector<std::string> deaths;
    TestBank bank;
    for (const char* name : {"x", "m", "a", "y"})
        bank += new TestResource(name, &deaths);
    TestResource* newer = new TestResource("x", &deaths);
    bank += newer;
    bank += newer;  // adding what is already there changes nothing
    EXPECT_THAT(deaths, ElementsAre("x"));
    EXPECT_EQ(bank.size(), 4u);

    // A resource destroyed elsewhere leaves no entry behind, and no warning.
    CaptureStdout();
    delete newer;
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(bank["x"], nullptr);

    // Taking a resource out hands it back without destroying it; removing one that is not in
    // the bank, even one named like a stored one, only warns.
    TestResource* y = bank["y"];
    bank -= y;
    EXPECT_EQ(bank.find("y"), bank.end());
    EXPECT_EQ(y->owner, nullptr);
    y->name = "m";
    CaptureStdout();
    bank -= static_cast<TestResource*>(nullptr);
    bank -= y;
    char warning[128];
    std::snprintf(warning, sizeof warning, "(warning) Could not remove resource %p from bank %p.\n",
                  static_cast<void*>(y), static_cast<void*>(&bank));
    EXPECT_THAT(GetCapturedStdout(), testing::EndsWith(warning));
    EXPECT_NE(bank["m"], nullptr);
    delete y;

    bank += new TestResource("z", &deaths);
    deaths.clear();
    bank.clear();
    EXPECT_THAT(deaths, ElementsAre("z", "m", "a"));
}

TEST(NamedResourceBank, ResourcesMoveBetweenBanksAndSurviveRenaming) {
    TestBank first, second;
    TestResource* r = new TestResource("r");
    first += r;
    second += r;
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(r->owner, &second);
    EXPECT_EQ(TestResource(*r).owner, nullptr) << "a copy belongs to no bank";

    // Renamed while in the bank: still found when it is added again or destroyed.
    r->name = "s";
    second += r;
    EXPECT_EQ(second.size(), 1u);
    r->name = "t";
    delete r;
    EXPECT_TRUE(second.empty());
}

// The resource part behind another polymorphic base, as images are laid out.
class PictureBank;
struct Drawable {
    virtual ~Drawable() = default;
    int width = 3;
};
class Picture : public Drawable, public lumo::NamedResource<PictureBank, std::string> {
  public:
    explicit Picture(const std::string& name) : NamedResource(name) {}
};
class PictureBank : public lumo::NamedResourceBank<Picture> {};

TEST(NamedResourceBank, UnlinksResourcesWhateverTheirLayout) {
    PictureBank bank;
    Picture* a = new Picture("a");
    bank += a;
    ASSERT_NE(static_cast<void*>(a), static_cast<lumo::Resource<PictureBank>*>(a));
    delete static_cast<Drawable*>(a);
    EXPECT_TRUE(bank.empty());
}

}  // namespace

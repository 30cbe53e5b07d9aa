#include "resources/named_resource.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "debug/log.hpp"
#include "resources/test_bank.hpp"

using lumo::testing::TestBank;
using lumo::testing::TestResource;
using testing::ElementsAre;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

std::string removalWarning(const void* resource, const void* bank) {
    char line[128];
    std::snprintf(line, sizeof line, "(warning) Could not remove resource %p from bank %p.\n",
                  resource, bank);
    return line;
}

TEST(NamedResourceBank, ReplacesAndUnlinksResourcesByName) {
    std::vector<std::string> deaths;
    TestBank bank;
    EXPECT_TRUE(bank.empty());
    TestResource* older = new TestResource("x", &deaths);
    bank += older;
    bank += new TestResource("y", &deaths);
    EXPECT_EQ(older->owner, &bank);

    TestResource* newer = new TestResource("x", &deaths);
    bank += newer;
    EXPECT_THAT(deaths, ElementsAre("x"));
    EXPECT_EQ(bank.size(), 2u);
    EXPECT_EQ(bank["x"], newer);
    EXPECT_EQ(newer->owner, &bank);

    // Adding what is already there changes nothing.
    bank += newer;
    EXPECT_EQ(bank["x"], newer);
    EXPECT_EQ(deaths.size(), 1u);

    // A resource destroyed elsewhere leaves no entry behind, and no warning.
    CaptureStdout();
    delete newer;
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(bank.at("x"), nullptr);
    EXPECT_EQ(bank.find("x"), bank.end());
    EXPECT_EQ(bank.size(), 1u);

    // Taking a resource out hands it back without destroying it.
    TestResource* y = bank["y"];
    bank -= y;
    EXPECT_TRUE(bank.empty());
    EXPECT_EQ(y->owner, nullptr);
    EXPECT_EQ(deaths.size(), 2u);
    delete y;
    EXPECT_THAT(deaths, ElementsAre("x", "x", "y"));
}

TEST(NamedResourceBank, RemovingAResourceNotInTheBankOnlyWarns) {
    lumo::debug::nameFrameworkGroups();
    TestBank bank;
    TestResource* stored = new TestResource("x");
    bank += stored;
    TestResource stranger("x");

    CaptureStdout();
    bank -= &stranger;
    bank -= static_cast<TestResource*>(nullptr);
    std::string log = GetCapturedStdout();
    EXPECT_THAT(log, testing::HasSubstr(removalWarning(&stranger, &bank)));
    EXPECT_THAT(log, testing::HasSubstr(removalWarning(nullptr, &bank)));
    EXPECT_EQ(bank["x"], stored);
    EXPECT_EQ(stored->owner, &bank);
}

TEST(NamedResourceBank, ResourcesMoveBetweenBanksAndSurviveRenaming) {
    std::vector<std::string> deaths;
    TestBank first;
    TestBank second;
    TestResource* r = new TestResource("r", &deaths);
    first += r;
    second += r;
    EXPECT_EQ(first["r"], nullptr);
    EXPECT_EQ(second["r"], r);
    EXPECT_EQ(r->owner, &second);

    // Renamed while in the bank: still found when it is destroyed or added again.
    r->name = "s";
    second += r;
    EXPECT_EQ(second.size(), 1u);
    EXPECT_EQ(second["s"], r);
    r->name = "t";
    delete r;
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(deaths.size(), 1u);

    // A copy belongs to no bank.
    TestResource* original = new TestResource("o");
    second += original;
    {
        TestResource copy(*original);
        EXPECT_EQ(copy.owner, nullptr);
    }
    EXPECT_EQ(second["o"], original);
}

TEST(NamedResourceBank, ClearAndDestructionDestroyHighestKeyFirst) {
    std::vector<std::string> deaths;
    {
        TestBank bank;
        for (const char* name : {"b", "c", "a"})
            bank += new TestResource(name, &deaths);
        bank.clear();
        EXPECT_THAT(deaths, ElementsAre("c", "b", "a"));
        EXPECT_TRUE(bank.empty());

        deaths.clear();
        for (const char* name : {"m", "z", "k"})
            bank += new TestResource(name, &deaths);
    }
    EXPECT_THAT(deaths, ElementsAre("z", "m", "k"));
}

// A bank keyed by something other than a string, as the font bank is.
struct Descriptor {
    std::string face;
    int size;
    bool operator<(const Descriptor& o) const {
        return face < o.face || (face == o.face && size < o.size);
    }
};

class DescriptorBank;
class Face : public lumo::NamedResource<DescriptorBank, Descriptor> {
  public:
    explicit Face(Descriptor d, std::vector<int>* deaths) : NamedResource(d), deaths(deaths) {}
    ~Face() override { deaths->push_back(name.size); }
    std::vector<int>* deaths;
};
class DescriptorBank : public lumo::NamedResourceBank<Face> {};

TEST(NamedResourceBank, IteratesInKeyOrderForAnyKeyType) {
    std::vector<int> deaths;
    DescriptorBank bank;
    bank += new Face({"serif", 12}, &deaths);
    bank += new Face({"mono", 20}, &deaths);
    bank += new Face({"serif", 8}, &deaths);
    bank += new Face({"serif", 12}, &deaths);
    EXPECT_THAT(deaths, ElementsAre(12));

    std::vector<int> sizes;
    for (DescriptorBank::iterator it = bank.begin(); it != bank.end(); it++) {
        EXPECT_EQ(it->name.size, it.name().size);
        EXPECT_EQ((*it)->owner, &bank);
        sizes.push_back(it.name().size);
    }
    EXPECT_THAT(sizes, ElementsAre(20, 8, 12));

    const DescriptorBank& constant = bank;
    DescriptorBank::const_iterator found = constant.find(Descriptor{"serif", 8});
    ASSERT_NE(found, constant.end());
    EXPECT_EQ(found.name().face, "serif");
    EXPECT_EQ((++found).name().size, 12);
    EXPECT_EQ(++found, constant.end());
    EXPECT_EQ(constant.find(Descriptor{"serif", 9}), constant.end());
    DescriptorBank::const_iterator first = bank.begin();
    EXPECT_EQ((*first)->name.face, "mono");
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
    Picture* b = new Picture("b");
    bank += a;
    bank += b;
    ASSERT_NE(static_cast<void*>(a), static_cast<lumo::Resource<PictureBank>*>(a));
    CaptureStdout();
    delete static_cast<Drawable*>(a);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(bank["a"], nullptr);
    EXPECT_EQ(bank["b"], b);
    EXPECT_EQ(bank.size(), 1u);
}

}  // namespace

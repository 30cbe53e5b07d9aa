#include "resources/refreshing_bank.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing::ElementsAre;

namespace {

// Refreshes `elements` elements; throws at the second one when `fails` is set.
struct Bank : lumo::RefreshingBank {
    Bank(std::size_t elements, bool fails = false) : elements(elements), fails(fails) {}
    std::size_t size() const override { return elements; }
    void refresh(lumo::RefreshingBankHandler* handler) override {
        for (std::size_t i = 0; i < elements; ++i) {
            if (fails && i == 1)
                throw std::string("refresh failed");
            handler->elementRefreshed();
        }
    }
    std::size_t elements;
    bool fails;
};

struct Progress : lumo::ResourceLoaderHandler {
    void loadingFinished() override { events.push_back("finished"); }
    void progressChanged(lumo::RefreshingBank* current, int progress, int total) override {
        std::string bank = current == first ? "first" : current == second ? "second" : "none";
        events.push_back(bank + " " + std::to_string(progress) + "/" + std::to_string(total));
    }
    std::vector<std::string> events;
    lumo::RefreshingBank *first = nullptr, *second = nullptr;
};

struct CountedLoader : lumo::ResourceLoader {
    CountedLoader(Progress* progress, int& count) : ResourceLoader(progress), alive(++count) {}
    ~CountedLoader() override { --alive; }
    int& alive;
};

TEST(ResourceLoader, RefreshesEveryBankReportingProgressAndDestroysItself) {
    Bank first(2), second(3), failing(3, true);
    Progress progress;
    progress.first = &first;
    progress.second = &second;
    int alive = 0;
    lumo::ResourceLoader* loader = new CountedLoader(&progress, alive);
    *loader += &first;
    *loader += nullptr;
    *loader += &second;
    loader->start();
    EXPECT_THAT(progress.events, ElementsAre("none 0/5", "first 1/5", "first 2/5", "second 3/5",
                                             "second 4/5", "second 5/5", "finished"));
    EXPECT_EQ(alive, 0);

    // A failing refresh still frees the loader, and loading is not reported finished.
    progress.events.clear();
    progress.first = &failing;
    loader = new CountedLoader(&progress, alive);
    *loader += &failing;
    EXPECT_THROW(loader->start(), std::string);
    EXPECT_THAT(progress.events, ElementsAre("none 0/3", "first 1/3"));
    EXPECT_EQ(alive, 0);
}

}  // namespace

#include "resources/refreshing_bank.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using lumo::RefreshingBank;
using lumo::RefreshingBankHandler;
using lumo::ResourceLoader;
using lumo::ResourceLoaderHandler;
using testing::ElementsAre;

namespace {

class Bank : public RefreshingBank {
  public:
    Bank(std::size_t elements, bool fails = false) : elements(elements), fails(fails) {}
    std::size_t size() const override { return elements; }
    void refresh(RefreshingBankHandler* handler) override {
        for (std::size_t i = 0; i < elements; ++i) {
            if (fails && i == 1)
                throw std::string("refresh failed");
            if (handler)
                handler->elementRefreshed();
        }
    }
    std::size_t elements;
    bool fails;
};

struct Progress : ResourceLoaderHandler {
    void loadingFinished() override { events.push_back("finished"); }
    void progressChanged(RefreshingBank* current, int progress, int total) override {
        std::string bank = current == first ? "first" : current == second ? "second" : "none";
        events.push_back(bank + " " + std::to_string(progress) + "/" + std::to_string(total));
    }
    std::vector<std::string> events;
    RefreshingBank* first = nullptr;
    RefreshingBank* second = nullptr;
};

class CountedLoader : public ResourceLoader {
  public:
    CountedLoader(ResourceLoaderHandler* handler, int* alive)
        : ResourceLoader(handler), alive(alive) {
        ++*alive;
    }
    ~CountedLoader() override { --*alive; }
    int* alive;
};

TEST(ResourceLoader, RefreshesEveryBankReportingProgressAndDestroysItself) {
    Bank first(2);
    Bank second(3);
    Progress progress;
    progress.first = &first;
    progress.second = &second;
    int alive = 0;

    ResourceLoader* loader = new CountedLoader(&progress, &alive);
    *loader += &first;
    *loader += nullptr;
    *loader += &second;
    loader->start();
    EXPECT_THAT(progress.events, ElementsAre("none 0/5", "first 1/5", "first 2/5", "second 3/5",
                                             "second 4/5", "second 5/5", "finished"));
    EXPECT_EQ(alive, 0);

    // A failing refresh still frees the loader, and loading is not reported finished.
    Bank failing(3, true);
    progress.events.clear();
    progress.first = &failing;
    loader = new CountedLoader(&progress, &alive);
    *loader += &failing;
    EXPECT_THROW(loader->start(), std::string);
    EXPECT_THAT(progress.events, ElementsAre("none 0/3", "first 1/3"));
    EXPECT_EQ(alive, 0);
}

}  // namespace

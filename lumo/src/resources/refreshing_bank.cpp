#include "resources/refreshing_bank.hpp"

#include <memory>

namespace lumo {

ResourceLoader::ResourceLoader(ResourceLoaderHandler* handler) : handler(handler) {}

ResourceLoader::~ResourceLoader() = default;

ResourceLoader& ResourceLoader::operator+=(RefreshingBank* bank) {
    if (bank)
        list.push_back(bank);
    return *this;
}

void ResourceLoader::start() {
    std::unique_ptr<ResourceLoader> self(this);
    progress = 0;
    total = 0;
    for (RefreshingBank* bank : list)
        total += static_cast<int>(bank->size());
    if (handler)
        handler->progressChanged(nullptr, 0, total);
    self.release()->thread();
}

void ResourceLoader::thread() {
    std::unique_ptr<ResourceLoader> self(this);
    for (RefreshingBank* bank : list) {
        current = bank;
        bank->refresh(this);
    }
    if (handler)
        handler->loadingFinished();
}

void ResourceLoader::elementRefreshed() {
    ++progress;
    if (handler)
        handler->progressChanged(current, progress, total);
}

}  // namespace lumo

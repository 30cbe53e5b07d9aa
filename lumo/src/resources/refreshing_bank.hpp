#pragma once
// Refreshing re-creates the contents of banks (textures after a video mode change, for
// example) and reports progress. Everything runs on the calling thread.

#include <cstddef>
#include <list>

namespace lumo {

/// Told after each element that a bank refreshed.
class RefreshingBankHandler {
  public:
    virtual ~RefreshingBankHandler() = default;
    virtual void elementRefreshed() = 0;
};

/// A bank whose elements can be re-created. A class that is also a NamedResourceBank gets one
/// size() for both (same signature), so it overrides it once.
class RefreshingBank {
  public:
    virtual ~RefreshingBank() = default;
    /// Number of elements that a refresh touches.
    virtual std::size_t size() const = 0;
    /// Re-creates each element; calls handler->elementRefreshed() after each one when the
    /// handler is not null.
    virtual void refresh(RefreshingBankHandler* handler) = 0;
};

/// Receives a loader's progress.
class ResourceLoaderHandler {
  public:
    virtual ~ResourceLoaderHandler() = default;
    virtual void loadingFinished() = 0;
    /// `current` is null for the first report, before any bank is refreshed.
    virtual void progressChanged(RefreshingBank* current, int progress, int total) = 0;
};

/// Refreshes a list of banks and reports progress to its handler. Created with `new`; start()
/// destroys it, also when a refresh throws, so it must not be touched after start().
class ResourceLoader : public RefreshingBankHandler {
  public:
    /// `handler` is not owned; a null handler is simply not told anything.
    explicit ResourceLoader(ResourceLoaderHandler* handler);
    ResourceLoader(const ResourceLoader&) = delete;
    ResourceLoader& operator=(const ResourceLoader&) = delete;
    ~ResourceLoader() override;

    /// Appends a bank (not owned); null is ignored.
    ResourceLoader& operator+=(RefreshingBank* bank);
    /// Counts the elements, reports 0 of the total, then runs thread().
    void start();
    /// Refreshes each bank in order, tells the handler that loading finished and destroys the
    /// loader.
    void thread();
    void elementRefreshed() override;

    std::list<RefreshingBank*> list;
    ResourceLoaderHandler* handler;
    RefreshingBank* current = nullptr;
    int progress = 0;
    int total = 0;
};

}  // namespace lumo

#include "audio/resources/sample_bank.hpp"

#include <memory>

#include "debug/log.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace audio {

namespace {
const AudioResourceBankGenerator audioResourceBankGenerator;

// Runs `step` on each item; a failing one is logged and the rest still run. The first message
// is thrown once all have run, so the caller still learns that something failed.
template <class Items, class Step>
void eachThenThrowFirst(const Items& items, Step step) {
    std::string first;
    bool failed = false;
    for (auto&& item : items) {
        try {
            step(item);
        } catch (const std::string& e) {
            debug::error(dbgAudio, "%s", e.c_str());
            if (!failed)
                first = e;
            failed = true;
        }
    }
    if (failed)
        throw first;
}
}  // namespace

SampleBank::~SampleBank() {
    debug::debug(dbgAudio, "Freeing sample bank %p.", static_cast<void*>(this));
    clear();
}

void SampleBank::getFromNode(const xml::Node* node, const std::string& path) {
    eachThenThrowFirst(node->children, [&](const xml::Node* child) {
        const bool cached = child->name == "sample";
        if (!cached && child->name != "stream")
            return;
        std::unique_ptr<Sample> sample(cached ? static_cast<Sample*>(new CachedSample)
                                              : new StreamedSample);
        sample->getFromNode(child, path);
        Sample* added = sample.release();
        *this += added;
        debug::debug(
            dbgAudio,
            cached ? "Added cached sample \"%s\" (%p)." : "Added streamed sample \"%s\" (%p).",
            added->name.c_str(), static_cast<void*>(added));
    });
}

void SampleBank::load(const std::string& filename) {
    std::string::size_type slash = filename.rfind('/');
    std::string path = slash == std::string::npos ? std::string() : filename.substr(0, slash + 1);
    std::unique_ptr<xml::Node> root(xml::loadXML(filename.c_str()));
    if (root->name != "samples")
        return;
    path += root->getAttribute("dir", "");
    getFromNode(root.get(), path);
}

void SampleBank::reload() {
    eachThenThrowFirst(map, [](const Map::value_type& e) { e.second->reload(); });
}

void SampleBank::refresh() {
    eachThenThrowFirst(map, [](const Map::value_type& e) { e.second->refresh(); });
}

void SampleBank::release() {
    eachThenThrowFirst(map, [](const Map::value_type& e) { e.second->release(); });
}

BasicResourceBank* AudioResourceBankGenerator::generateBank(const std::string& type) const {
    return type == "samples" ? new SampleBank : nullptr;
}

}  // namespace audio
}  // namespace lumo

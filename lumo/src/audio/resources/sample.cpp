#include "audio/resources/sample.hpp"

#include <climits>

#include "audio/core/audio.hpp"
#include "audio/loaders/file_loader.hpp"
#include "audio/resources/sample_bank.hpp"
#include "debug/log.hpp"
#include "xml/checked_numbers.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace audio {

Sample::~Sample() {
    Sample::release();
}

void Sample::getFromNode(const xml::Node* node, const std::string& path) {
    const std::string* nameAttr = node->getAttribute("name");
    const std::string* fileAttr = node->getAttribute("filename");
    if (!nameAttr)
        debug::warning(dbgImages, "No name specified for sound. Using filename.");
    if (!fileAttr)
        throw "No filename specified for sound \"" + (nameAttr ? *nameAttr : std::string()) + "\".";
    name = nameAttr ? *nameAttr : *fileAttr;
    filename = path + *fileAttr;
    properties.volume = xml::getCheckedFloat(*node, "volume", properties.volume, dbgAudio);
    properties.pitch = xml::getCheckedFloat(*node, "pitch", properties.pitch, dbgAudio);
    properties.rolloff = xml::getCheckedFloat(*node, "rolloff", properties.rolloff, dbgAudio);
    properties.loop = node->getAttributeBool("loop", properties.loop);
    priority = static_cast<int>(
        xml::getCheckedLong(*node, "priority", priority, INT_MIN, INT_MAX, dbgAudio));
}

CachedSample::~CachedSample() {
    CachedSample::release();
}

void CachedSample::load() {
    if (!alActive())
        return;
    release();  // a second load must not leak the first buffer
    alGetError();
    alGenBuffers(1, &bufferName);
    ALenum error = alGetError();
    if (error != AL_NO_ERROR || !bufferName) {
        bufferName = 0;
        throw "Could not create OpenAL buffer for \"" + name + "\": " + getALErrorString(error) +
            ".";
    }
    FileLoader* loader = nullptr;
    try {
        loader = getFileLoader(filename);
        ALsizei delivered = loader->getSize();
        const char* data = loader->read(&delivered, false);
        uploadBuffer(bufferName, *loader, data, delivered, name);
        format = loader->getFormat();
        size = delivered;
        frequency = loader->getFrequency();
        delete loader;
    } catch (const std::string& e) {
        delete loader;
        release();
        throw "Error loading file \"" + filename + "\": " + e;
    }
    debug::info(
        dbgAudio, "Loaded \"%s\" as sound \"%s\" (#%d), format: %d, size: %d, frequency: %d.",
        filename.c_str(), name.c_str(), static_cast<int>(bufferName), format, size, frequency);
}

void CachedSample::reload() {
    release();
    load();
}

void CachedSample::refresh() {
    if (bufferName)
        return;
    debug::debug(dbgAudio, "Refreshing sound \"%s\"...", name.c_str());
    reload();
}

void CachedSample::release() {
    if (bufferName && alActive())
        alDeleteBuffers(1, &bufferName);
    bufferName = 0;
}

void StreamedSample::getFromNode(const xml::Node* node, const std::string& path) {
    Sample::getFromNode(node, path);
    // A buffer too small for one sample frame would never deliver anything; OpenAL takes
    // sizes as int.
    bufferSize = xml::getCheckedLong(*node, "bufferSize", bufferSize, 4, INT_MAX, dbgAudio);
}

}  // namespace audio
}  // namespace lumo

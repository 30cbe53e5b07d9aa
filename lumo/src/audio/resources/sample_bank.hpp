#pragma once
// The bank of samples (resource type `samples`): `sample` elements become cached samples,
// `stream` elements streamed ones. Main thread only.

#include <string>

#include "audio/resources/sample.hpp"
#include "resources/named_resource.hpp"
#include "resources/resource_bank.hpp"

namespace lumo {
namespace audio {

class SampleBank : public NamedResourceBank<Sample> {
  public:
    SampleBank() = default;
    /// Destroys the samples (and their buffers).
    ~SampleBank() override;

    /// Adds a sample per `sample`/`stream` child, replacing one of the same name; other
    /// children are ignored. A broken element is logged and skipped, the others are still
    /// added, and the first message is thrown at the end. Cached samples are not loaded here.
    void getFromNode(const xml::Node* node, const std::string& path) override;
    using BasicResourceBank::load;
    /// Reads a bank file whose root is `samples` (its `dir` is appended to the file's
    /// directory). Throws the reader's message, or the first message of getFromNode.
    void load(const std::string& filename);
    /// reload(), refresh() or release() on every sample in name order. A sample that fails is
    /// logged and the others still go; the first message is thrown at the end.
    void reload();
    void refresh();
    void release();
};

/// Creates SampleBank for the type `samples`.
class AudioResourceBankGenerator : public ResourceBankGenerator {
  public:
    BasicResourceBank* generateBank(const std::string& type) const override;
};

}  // namespace audio
}  // namespace lumo

// Loading an XML file into a Node tree against expat alone on the same bytes, read the same
// way, so that the cost of building the tree shows as the ratio of the two rates.

#include <benchmark/benchmark.h>
#include <expat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "xml/node.hpp"
#include "xml/xml_reader.hpp"

namespace {

// A bank-like document of about 4 MB: groups of entries with several attributes, some nested.
class BenchFile {
  public:
    BenchFile() {
        char pattern[] = "/tmp/lumo-xml-bench-XXXXXX";
        int fd = ::mkstemp(pattern);
        if (fd < 0)
            std::abort();
        path = pattern;
        std::string text = "<?xml version=\"1.0\"?>\n<bank dir=\"data/images/\">\n";
        for (int g = 0; g < 1500; ++g) {
            text += "  <group name=\"group" + std::to_string(g) + "\" kind=\"sprites\">\n";
            for (int i = 0; i < 20; ++i) {
                std::string id = std::to_string(g) + "_" + std::to_string(i);
                text += "    <image name=\"image" + id + "\" file=\"image" + id +
                        ".png\" hotspotx=\"" + std::to_string(i % 16) + "\" hotspoty=\"" +
                        std::to_string(g % 32) + "\" bitmask=\"true\">\n";
                text += "      <box x=\"1\" y=\"2\" w=\"30\" h=\"40\"/>\n    </image>\n";
            }
            text += "  </group>\n";
        }
        text += "</bank>\n";
        size = text.size();
        if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            std::abort();
        ::close(fd);
    }
    ~BenchFile() { ::unlink(path.c_str()); }
    std::string path;
    std::size_t size = 0;
};

const BenchFile& benchFile() {
    static BenchFile file;
    return file;
}

// A file holding the given text, removed when the benchmark ends.
class TextFile {
  public:
    explicit TextFile(const std::string& text) {
        char pattern[] = "/tmp/lumo-xml-bench-XXXXXX";
        int fd = ::mkstemp(pattern);
        if (fd < 0)
            std::abort();
        path = pattern;
        size = text.size();
        if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            std::abort();
        ::close(fd);
    }
    ~TextFile() { ::unlink(path.c_str()); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    std::string path;
    std::size_t size = 0;
};

void loadRepeatedly(benchmark::State& state, const TextFile& file) {
    for (auto _ : state) {
        std::unique_ptr<lumo::xml::Node> root(lumo::xml::loadXML(file.path.c_str()));
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
}

// One attribute value of 10 MB: a token far longer than any piece the reader feeds the parser.
void BM_LoadHugeAttributeValue(benchmark::State& state) {
    static const TextFile file("<a v=\"" + std::string(10 * 1024 * 1024, 'x') + "\"/>\n");
    loadRepeatedly(state, file);
}
BENCHMARK(BM_LoadHugeAttributeValue)->Unit(benchmark::kMillisecond);

// 100,000 attributes on one element, in document order (a0, a1, ...), which is not name order.
void BM_LoadManyAttributes(benchmark::State& state) {
    static const TextFile file([] {
        std::string text = "<a";
        for (int i = 0; i < 100000; ++i)
            text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
        return text + "/>\n";
    }());
    loadRepeatedly(state, file);
}
BENCHMARK(BM_LoadManyAttributes)->Unit(benchmark::kMillisecond);

void BM_LoadXmlTree(benchmark::State& state) {
    const BenchFile& file = benchFile();
    for (auto _ : state) {
        std::unique_ptr<lumo::xml::Node> root(lumo::xml::loadXML(file.path.c_str()));
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
}
BENCHMARK(BM_LoadXmlTree)->Unit(benchmark::kMillisecond);

void startNothing(void*, const char*, const char**) {}
void endNothing(void*, const char*) {}

void BM_ExpatBare(benchmark::State& state) {
    const BenchFile& file = benchFile();
    for (auto _ : state) {
        std::FILE* f = std::fopen(file.path.c_str(), "r");
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetElementHandler(parser, startNothing, endNothing);
        std::size_t chunk = lumo::xml::XMLReader::CHUNK_SIZE;
        for (bool last = false; !last;) {
            void* buffer = XML_GetBuffer(parser, static_cast<int>(chunk));
            std::size_t n = std::fread(buffer, 1, chunk, f);
            last = n < chunk;
            if (chunk < lumo::xml::XMLReader::MAX_CHUNK_SIZE)
                chunk *= 2;
            if (XML_ParseBuffer(parser, static_cast<int>(n), last) != XML_STATUS_OK)
                state.SkipWithError("parse error");
        }
        XML_ParserFree(parser);
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
}
BENCHMARK(BM_ExpatBare)->Unit(benchmark::kMillisecond);

// Turning the same tree back into text, for comparison.
void BM_TreeToString(benchmark::State& state) {
    std::unique_ptr<lumo::xml::Node> root(lumo::xml::loadXML(benchFile().path.c_str()));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = root->toString(0);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_TreeToString)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();

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
        char buffer[1024];
        for (bool last = false; !last;) {
            std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
            last = n < sizeof buffer - 1;
            if (XML_Parse(parser, buffer, static_cast<int>(n), last) != XML_STATUS_OK)
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

// Samples read from XML into their bank, and the bank's loading of buffers.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "audio/resources/sample.hpp"
#include "audio/resources/sample_bank.hpp"
#include "audio_test_support.hpp"
#include "resources/resource_manager.hpp"
#include "xml/node.hpp"

using namespace lumo::audio;
using namespace audiotest;
using lumo::xml::Node;

namespace {
std::unique_ptr<Node> element(const char* name, std::vector<const char*> attributes) {
    attributes.push_back(nullptr);
    return std::make_unique<Node>(name, attributes.data());
}
}  // namespace

TEST(Sample, ReadsItsAttributesWithDefaults) {
    CachedSample boom;
    boom.getFromNode(element("sample", {"filename", "boom.ogg"}).get(), "sfx/");
    EXPECT_EQ(boom.name, "boom.ogg");
    EXPECT_EQ(boom.filename, "sfx/boom.ogg");
    EXPECT_EQ(boom.properties.volume, 1.0f);
    EXPECT_EQ(boom.properties.pitch, 1.0f);
    EXPECT_EQ(boom.properties.rolloff, 1.0f);
    EXPECT_FALSE(boom.properties.loop);
    EXPECT_EQ(boom.priority, 0);
    EXPECT_EQ(boom.properties.position.x, 0.0f);

    StreamedSample music;
    EXPECT_EQ(music.bufferSize, 65536);
    music.getFromNode(element("stream", {"name", "theme", "filename", "theme.ogg", "volume", "0.5",
                                         "pitch", "1.5", "rolloff", "2", "loop", "t", "priority",
                                         "0x10", "bufferSize", "8192"})
                          .get(),
                      "");
    EXPECT_EQ(music.name, "theme");
    EXPECT_EQ(music.filename, "theme.ogg");
    EXPECT_EQ(music.properties.volume, 0.5f);
    EXPECT_EQ(music.properties.pitch, 1.5f);
    EXPECT_EQ(music.properties.rolloff, 2.0f);
    EXPECT_TRUE(music.properties.loop);
    EXPECT_EQ(music.priority, 16);
    EXPECT_EQ(music.bufferSize, 8192);
    // A buffer that cannot hold one sample frame would never deliver anything.
    music.getFromNode(element("stream", {"filename", "x.ogg", "bufferSize", "-5"}).get(), "");
    EXPECT_EQ(music.bufferSize, 8192);

    EXPECT_EQ(thrown([] {
                  CachedSample s;
                  s.getFromNode(element("sample", {"name", "quiet"}).get(), "");
              }),
              "No filename specified for sound \"quiet\".");
    EXPECT_EQ(thrown([] {
                  CachedSample s;
                  s.getFromNode(element("sample", {}).get(), "");
              }),
              "No filename specified for sound \"\".");
}

TEST(SampleBank, ReadsSamplesAndStreamsAndGoesOnAfterABrokenOne) {
    TempDir tmp;
    std::string file = tmp.path("sounds.xml");
    writeFile(file,
              "<samples dir=\"sfx/\">"
              "<sample name=\"a\" filename=\"a.ogg\"/>"
              "<stream name=\"m\" filename=\"m.ogg\" bufferSize=\"8192\"/>"
              "<image name=\"ignored\" filename=\"i.png\"/>"
              "<sample name=\"broken\"/>"
              "<sample name=\"a\" filename=\"a2.ogg\" volume=\"0.3\"/>"
              "</samples>");
    SampleBank bank;
    EXPECT_EQ(thrown([&] { bank.load(file); }), "No filename specified for sound \"broken\".");
    ASSERT_EQ(bank.size(), 2u);
    auto* a = dynamic_cast<CachedSample*>(bank["a"]);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->filename, tmp.str() + "/sfx/a2.ogg") << "the later one replaced the first";
    EXPECT_EQ(a->properties.volume, 0.3f);
    auto* m = dynamic_cast<StreamedSample*>(bank["m"]);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->bufferSize, 8192);
    EXPECT_EQ(m->owner, &bank);

    // A file of another kind is ignored.
    std::string other = tmp.path("other.xml");
    writeFile(other, "<images><sample filename=\"x.ogg\"/></images>");
    bank.load(other);
    EXPECT_EQ(bank.size(), 2u);

    // A destroyed sample leaves its bank.
    delete m;
    EXPECT_EQ(bank["m"], nullptr);
}

TEST(SampleBank, IsCreatedForTheTypeSamplesFromResourceFiles) {
    TempDir tmp;
    std::string file = tmp.path("resources.xml");
    writeFile(file,
              "<resources dir=\"data/\">"
              "<samples name=\"sounds\" dir=\"sfx/\"><sample name=\"hit\" filename=\"hit.ogg\"/>"
              "</samples></resources>");
    lumo::ResourceManager manager;
    manager.load(file, "");
    std::unique_ptr<SampleBank> bank(dynamic_cast<SampleBank*>(manager["sounds"]));
    ASSERT_NE(bank, nullptr);
    manager.clear();
    ASSERT_NE(bank->at("hit"), nullptr);
    EXPECT_EQ(bank->at("hit")->filename, tmp.str() + "/data/sfx/hit.ogg");
    EXPECT_EQ(manager.createResourceBank("Samples"), nullptr);
}

TEST_F(AudioDeviceTest, SampleBankRefreshLoadsOnceAndReloadLoadsAgain) {
    writeTone(tmp.path("a.ogg"), 300, 0.1);
    writeTone(tmp.path("b.ogg"), 400, 0.1, 22050, 2);
    writeTone(tmp.path("m.ogg"), 500, 0.1);
    std::string file = tmp.path("bank.xml");
    writeFile(file,
              "<samples><sample name=\"a\" filename=\"a.ogg\"/><sample name=\"b\" "
              "filename=\"b.ogg\"/><stream name=\"m\" filename=\"m.ogg\"/></samples>");
    SampleBank bank;
    bank.load(file);
    auto* a = dynamic_cast<CachedSample*>(bank["a"]);
    auto* b = dynamic_cast<CachedSample*>(bank["b"]);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->bufferName, 0u) << "reading the bank loads nothing";

    bank.refresh();
    ASSERT_NE(a->bufferName, 0u);
    ASSERT_NE(b->bufferName, 0u);
    EXPECT_EQ(a->format, AL_FORMAT_MONO16);
    EXPECT_EQ(b->format, AL_FORMAT_STEREO16);
    EXPECT_EQ(b->frequency, 22050);
    EXPECT_EQ(b->size, 8820);

    // Once loaded, a refresh does not read the files again...
    std::remove(tmp.path("a.ogg").c_str());
    ALuint before = a->bufferName;
    bank.refresh();
    EXPECT_EQ(a->bufferName, before);

    // ...but a reload does: the missing file is reported, the other samples still load.
    std::string path = tmp.path("a.ogg");
    EXPECT_EQ(thrown([&] { bank.reload(); }),
              "Error loading file \"" + path + "\": Could not open file \"" + path + "\".");
    EXPECT_EQ(a->bufferName, 0u);
    EXPECT_NE(b->bufferName, 0u);

    writeFile(path, "not a sound");
    EXPECT_EQ(thrown([&] { bank.refresh(); }),
              "Error loading file \"" + path +
                  "\": Could not read Ogg stream:The given file/data was not recognized as Ogg "
                  "Vorbis data.");
    EXPECT_EQ(a->bufferName, 0u);

    bank.release();
    EXPECT_EQ(b->bufferName, 0u);
}

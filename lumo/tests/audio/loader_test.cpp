// Decoding Ogg Vorbis files, samples read from XML into their bank, and the messages that bad
// input and misuse throw.

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "audio/loaders/ogg_file_loader.hpp"
#include "audio/resources/sample_bank.hpp"
#include "audio/sources/source_pool.hpp"
#include "audio_test_support.hpp"
#include "resources/resource_manager.hpp"

using namespace lumo::audio;
using namespace audiotest;

namespace {
ALsizei readSome(FileLoader& loader, ALsizei n, bool loop) {
    loader.read(&n, loop);
    return n;
}

// A short tone whose header claims the sample rate `rate`: the rate field of the first page
// (which holds only the identification header) is rewritten and the page's checksum renewed.
std::string toneWithRate(const TempDir& tmp, const std::string& name, unsigned long rate) {
    std::string bytes = lumo::testing::readFileText(writeTone(tmp.file(name), 300, 0.1));
    const std::size_t pageLength = 27 + 1 + static_cast<unsigned char>(bytes[27]);
    for (int i = 0; i < 4; ++i) {
        bytes[28 + 12 + i] = static_cast<char>(rate >> (8 * i) & 0xFF);
        bytes[22 + i] = 0;
    }
    unsigned long crc = 0;
    for (std::size_t i = 0; i < pageLength; ++i) {
        crc ^= static_cast<unsigned long>(static_cast<unsigned char>(bytes[i])) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000UL ? (crc << 1) ^ 0x04c11db7UL : crc << 1) & 0xFFFFFFFFUL;
    }
    for (int i = 0; i < 4; ++i)
        bytes[22 + i] = static_cast<char>(crc >> (8 * i) & 0xFF);
    return tmp.write(name, bytes);
}
}  // namespace

TEST(OggFileLoader, DeliversTheFileOnceOrLoopsAndNeverHangs) {
    TempDir tmp;
    std::unique_ptr<FileLoader> loader(
        getFileLoader(writeTone(tmp.file("s.ogg"), 300, 1, 44100, 2)));
    EXPECT_EQ(loader->getFormat(), AL_FORMAT_STEREO16);
    const ALsizei total = loader->getSize();
    EXPECT_EQ(total, 176400);

    long sum = 0;
    // An odd request is cut to whole sample frames instead of failing in the decoder.
    for (ALsizei n; (n = readSome(*loader, 10001, false)) > 0; sum += n)
        EXPECT_EQ(n % 4, 0);
    EXPECT_EQ(sum, total);
    EXPECT_EQ(readSome(*loader, 4096, false), 0) << "the end stays the end without looping";
    // Looping wraps at the end, even several times within one request.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(readSome(*loader, total / 3 + 2, true), total / 3) << "read " << i;
    EXPECT_EQ(readSome(*loader, 3 * total, true), 3 * total);

    // A loop over an empty stream, or one that cannot seek (a pipe), ends instead of spinning.
    oggwriter::writeOgg(tmp.file("e.ogg"), 44100, 1, 0, [](long, int) { return 0.0f; });
    std::unique_ptr<FileLoader> empty(getFileLoader(tmp.file("e.ogg")));
    EXPECT_EQ(readSome(*empty, 4096, true), 0);
    std::string bytes = lumo::testing::readFileText(writeTone(tmp.file("t.ogg"), 400, 0.2));
    std::string fifo = tmp.file("pipe.ogg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { tmp.write("pipe.ogg", bytes); });
    {
        std::unique_ptr<FileLoader> piped(getFileLoader(fifo));
        EXPECT_EQ(readSome(*piped, 88200, true), 17640) << "0.2 s of mono samples, once";
        EXPECT_EQ(readSome(*piped, 4096, true), 0);
    }
    writer.join();
}

TEST(AudioMessages, BadInputAndMisuseThrowTheirMessages) {
    TempDir tmp;
    const std::string missing = tmp.file("missing.ogg"), text = tmp.write("text.ogg", "x");
    std::vector<std::size_t> pages;
    const std::string good = noiseBytes(tmp, pages);
    ASSERT_GE(pages.size(), 6u) << "headers plus several pages of audio";
    const std::string header = tmp.write("header.ogg", good.substr(0, 200));
    std::unique_ptr<FileLoader> damaged(getFileLoader(writeDamaged(tmp)));
    SourcePool noSources(0);
    Sample plain;
    const std::string notOgg = "The given file/data was not recognized as Ogg Vorbis data.";
    const std::string three = writeTone(tmp.file("three.ogg"), 300, 0.1, 44100, 3);
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { delete getFileLoader(missing); }, "Could not open file \"" + missing + "\"."},
        {[] { delete getFileLoader("music.OGG"); }, "Unknown file type - \"music.OGG\""},
        {[] { delete getFileLoader("ogg"); }, "Unknown file type - \"ogg\""},
        {[&] { delete getFileLoader(text); }, "Could not read Ogg stream:" + notOgg},
        {[&] { delete getFileLoader(header); }, "Could not read Ogg stream:" + notOgg},
        // Three channels would play as scrambled stereo, and too long.
        {[&] { delete getFileLoader(three); },
         "\"" + three + "\" has 3 channels; only mono and stereo sound can be played."},
        {[&] { readSome(*damaged, 176400, false); },
         "Could not decode Ogg stream: Vorbisfile encoutered missing or corrupt data in the "
         "bitstream."},
        {[&] { SampleBank().load(tmp.write("s.xml", "<samples><sample/></samples>")); },
         "No filename specified for sound \"\"."},
        {[&] { noSources.play(&plain); }, "Unknown sample class."},
        {[] { Context second(44100); }, "Cannot create more than one audio context."},
        {[] { init("", 44100); }, "Cannot create more than one audio context."},
    };
    Context first(44100);  // no device is open: nothing touches OpenAL
    for (const auto& c : cases)
        EXPECT_EQ(thrown(c.first), c.second);
    EXPECT_EQ(readSome(*damaged, 4096, true), 0) << "a broken decoder stays at its end";

    // Cut in the middle of the audio: what is there decodes, then the stream simply ends.
    std::unique_ptr<FileLoader> cut(
        getFileLoader(tmp.write("cut.ogg", good.substr(0, pages[pages.size() / 2] + 100))));
    ALsizei n = readSome(*cut, 176400 * 2, false);
    EXPECT_GT(n, 0);
    EXPECT_LT(n, 176400);
    EXPECT_EQ(n, cut->getSize());
}

TEST_F(AudioDeviceTest, SampleBankReadsItsFileAndLoadsWhatItCan) {
    ASSERT_EQ(mkdir(tmp.file("sfx").c_str(), 0700), 0);
    writeTone(tmp.file("sfx/a2.ogg"), 300, 0.1);
    writeTone(tmp.file("sfx/b.ogg"), 400, 0.1, 22050, 2);
    SampleBank bank;
    std::string file = tmp.write(
        "sounds.xml",
        "<samples dir=\"sfx/\"><sample name=\"a\" filename=\"a.ogg\"/><sample name=\"broken\"/>"
        "<stream name=\"m\" filename=\"m.ogg\" volume=\"0.5\" pitch=\"1.5\" rolloff=\"2\" "
        "loop=\"t\" priority=\"0x10\" bufferSize=\"8192\"/><image name=\"i\" filename=\"i\"/>"
        "<stream filename=\"boom.ogg\"/><sample name=\"b\" filename=\"b.ogg\"/>"
        "<sample name=\"a\" filename=\"a2.ogg\"/></samples>");
    EXPECT_EQ(thrown([&] { bank.load(file); }), "No filename specified for sound \"broken\".");
    ASSERT_EQ(bank.size(), 4u);
    auto* a = dynamic_cast<CachedSample*>(bank["a"]);
    auto* b = dynamic_cast<CachedSample*>(bank["b"]);
    auto* m = dynamic_cast<StreamedSample*>(bank["m"]);
    ASSERT_TRUE(a && b && m && bank["boom.ogg"]) << "a sample without a name takes its file's";
    EXPECT_EQ(a->filename, tmp.path() + "/sfx/a2.ogg") << "the later one replaced the first";
    const SoundProperties& p = m->properties;
    EXPECT_EQ(std::vector<float>({p.volume, p.pitch, p.rolloff, float(p.loop), float(m->priority),
                                  float(m->bufferSize)}),
              std::vector<float>({0.5f, 1.5f, 2, 1, 16, 8192}));
    bank.load(tmp.write("other.xml", "<images><sample filename=\"x.ogg\"/></images>"));
    EXPECT_EQ(bank.size(), 4u) << "a file of another kind is ignored";

    EXPECT_EQ(a->bufferName, 0u) << "reading the bank loads nothing";
    bank.refresh();
    ASSERT_NE(a->bufferName, 0u);
    EXPECT_EQ(a->format, AL_FORMAT_MONO16);
    EXPECT_EQ(b->format, AL_FORMAT_STEREO16);
    EXPECT_EQ(b->frequency, 22050);
    EXPECT_EQ(b->size, 8820);
    // Once loaded, a refresh does not read the files again; a reload does.
    const std::string path = tmp.file("sfx/a2.ogg");
    std::remove(path.c_str());
    const ALuint before = a->bufferName;
    bank.refresh();
    EXPECT_EQ(a->bufferName, before);
    EXPECT_EQ(thrown([&] { bank.reload(); }),
              "Error loading file \"" + path + "\": Could not open file \"" + path + "\".");
    EXPECT_EQ(a->bufferName, 0u);
    EXPECT_NE(b->bufferName, 0u) << "the other samples still load";
    bank.release();
    EXPECT_EQ(b->bufferName, 0u);
}

// OpenAL refuses data whose rate does not fit its int (a header rate of 3e9): loading says so,
// naming the sample, instead of keeping an empty buffer that claims to hold the sound.
TEST_F(AudioDeviceTest, UploadsOpenALRefusesThrowNamingTheSample) {
    const std::string wild = toneWithRate(tmp, "wild.ogg", 3000000000UL);
    std::unique_ptr<FileLoader> probe(getFileLoader(wild));
    ASSERT_LT(probe->getFrequency(), 0) << "the header was not changed as planned";
    probe.reset();
    CachedSample cached;
    cached.name = "wild";
    cached.filename = wild;
    EXPECT_EQ(thrown([&] { cached.load(); }),
              "Error loading file \"" + wild +
                  "\": Could not upload sound \"wild\" to OpenAL: AL_INVALID_VALUE.");
    EXPECT_EQ(cached.bufferName, 0u);

    StreamedSample streamed;
    streamed.name = "wild stream";
    streamed.filename = wild;
    SourcePool pool(2);
    EXPECT_EQ(thrown([&] { pool.play(&streamed); }),
              "Could not upload sound \"wild stream\" to OpenAL: AL_INVALID_VALUE.");
    EXPECT_TRUE(pool.getSounds().empty());
    // The same file with a sane rate plays.
    cached.filename = toneWithRate(tmp, "sane.ogg", 22050);
    cached.load();
    EXPECT_EQ(cached.frequency, 22050);
    cached.release();
}

// Numbers that do not fit their field are rejected with their text; the defaults stay. The
// bank is made for the type "samples" in a resources file, its paths joined to the file's.
TEST(SampleBank, NumbersThatDoNotFitAreReportedAndKeepTheDefaults) {
    lumo::debug::nameFrameworkGroups();
    TempDir tmp;
    lumo::ResourceManager manager;
    ::testing::internal::CaptureStdout();
    manager.load(
        tmp.write("resources.xml",
                  "<resources dir=\"data/\"><samples name=\"sounds\" dir=\"sfx/\"><stream "
                  "name=\"m\" filename=\"m.ogg\" bufferSize=\"2147483648\" volume=\"nan\" "
                  "pitch=\"inf\" rolloff=\"1e39\" priority=\"0x80000000\"/><stream name=\"tiny\" "
                  "filename=\"t.ogg\" bufferSize=\"3\"/></samples></resources>"),
        "");
    std::string log = ::testing::internal::GetCapturedStdout(), warnings;
    std::unique_ptr<SampleBank> bank(dynamic_cast<SampleBank*>(manager["sounds"]));
    manager.clear();
    ASSERT_NE(bank, nullptr);
    for (std::size_t at = 0, end; (end = log.find('\n', at)) != std::string::npos; at = end + 1)
        if (log.compare(at, 22, "[lumo:audio] (warning)") == 0)
            warnings += log.substr(at, end + 1 - at);
    const std::string w = "[lumo:audio] (warning) Attribute ";
    EXPECT_EQ(w + "volume=\"nan\" of <stream> is not a finite number; keeping 1.\n" + w +
                  "pitch=\"inf\" of <stream> is not a finite number; keeping 1.\n" + w +
                  "rolloff=\"1e39\" of <stream> is not a finite number; keeping 1.\n" + w +
                  "priority=\"0x80000000\" of <stream> is out of range; keeping 0.\n" + w +
                  "bufferSize=\"2147483648\" of <stream> is out of range; keeping 65536.\n" + w +
                  "bufferSize=\"3\" of <stream> is out of range; keeping 65536.\n",
              warnings);
    for (const char* name : {"m", "tiny"}) {
        auto* s = dynamic_cast<StreamedSample*>(bank->at(name));
        ASSERT_NE(s, nullptr);
        const SoundProperties& p = s->properties;
        EXPECT_EQ(std::vector<float>(
                      {p.volume, p.pitch, p.rolloff, float(s->priority), float(s->bufferSize)}),
                  std::vector<float>({1, 1, 1, 0, 65536}))
            << name;
    }
    EXPECT_EQ(bank->at("m")->filename, tmp.path() + "/data/sfx/m.ogg");
}

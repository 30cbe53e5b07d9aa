#pragma once
// Writes Ogg Vorbis files with libvorbisenc: the sound data of the audio tests and of the audio
// demo are made by this, never downloaded. Link vorbisenc, vorbis and ogg.

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

namespace oggwriter {

/// Encodes `frames` sample frames of `channels` channels at `rate` Hz; `sample(frame, channel)`
/// gives values in [-1, 1]. Throws a message when the file cannot be written.
inline void writeOgg(const std::string& path, int rate, int channels, long frames,
                     const std::function<float(long, int)>& sample) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw "Cannot write \"" + path + "\".";
    auto writePage = [f](const ogg_page& page) {
        std::fwrite(page.header, 1, page.header_len, f);
        std::fwrite(page.body, 1, page.body_len, f);
    };

    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, 0.4f) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(f);
        throw std::string("The Vorbis encoder does not take these settings.");
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 4711);

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page))
        writePage(page);

    auto drain = [&]() {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page))
                    writePage(page);
            }
        }
    };
    const long chunk = 1024;
    for (long done = 0; done < frames; done += chunk) {
        long n = std::min(chunk, frames - done);
        float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[c][i] = sample(done + i, c);
        vorbis_analysis_wrote(&vd, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);  // end of stream
    drain();
    while (ogg_stream_flush(&os, &page))
        writePage(page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    std::fclose(f);
}

}  // namespace oggwriter

#pragma once
// Shared helpers of the engine tests: a headless engine per test, and pictures and sounds made in memory.
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "engine/engine.h"

// Every test starts on a fresh headless platform: black back buffer, manual clock at 0, no keys.
class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(InitHeadless());
        StopAllChannels();
    }
    void TearDown() override {
        StopAllChannels();
        ShutdownEngine();
    }
};

inline std::uint8_t redOf(std::uint32_t argb) {
    return (argb >> 16) & 0xFF;
}
inline std::uint8_t greenOf(std::uint32_t argb) {
    return (argb >> 8) & 0xFF;
}
inline std::uint8_t blueOf(std::uint32_t argb) {
    return argb & 0xFF;
}
inline std::uint8_t alphaOf(std::uint32_t argb) {
    return argb >> 24;
}

inline std::vector<unsigned char> pngBytes(const TPixmap& pixmap) {
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(EncodePng(pixmap, bytes));
    return bytes;
}

// A directory of its own under the system's temporary directory (made atomically, so test processes
// running at once never share one).
inline std::string scratchDir() {
    static std::string dir = [] {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path base = fs::temp_directory_path(error);
        std::random_device entropy;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = base / ("vevu_engine_" + std::to_string(entropy()));
            if (fs::create_directory(candidate, error)) return candidate.string();
        }
        return base.string();
    }();
    return dir;
}

// Encodes interleaved 16-bit PCM as OGG Vorbis, the way the game's sounds are stored.
inline std::vector<unsigned char> encodeOgg(const std::vector<std::int16_t>& pcm, int channels, int rate) {
    std::vector<unsigned char> out;
    auto append = [&](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    vorbis_info info;
    vorbis_info_init(&info);
    EXPECT_EQ(vorbis_encode_init_vbr(&info, channels, rate, 0.5f), 0);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 7);
    ogg_packet header, commentPacket, codePacket;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codePacket);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codePacket);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page))
        append(page);
    const int frames = static_cast<int>(pcm.size()) / channels;
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            buffer[c][f] = pcm[f * channels + c] / 32768.0f;
    vorbis_analysis_wrote(&dsp, frames);
    vorbis_analysis_wrote(&dsp, 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page))
                append(page);
        }
    }
    while (ogg_stream_flush(&stream, &page))
        append(page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

// A sine tone: frequency in hertz, amplitude in 16-bit units, interleaved over channels.
inline std::vector<std::int16_t> sineTone(int frames, int channels, int rate, double frequency,
                                          double amplitude) {
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(frames) * channels);
    for (int f = 0; f < frames; ++f) {
        auto sample =
            static_cast<std::int16_t>(amplitude * std::sin(2 * std::numbers::pi * frequency * f / rate));
        for (int c = 0; c < channels; ++c)
            pcm[static_cast<std::size_t>(f) * channels + c] = sample;
    }
    return pcm;
}

#include <SDL.h>

#include <atomic>
#include <cmath>
#include <numbers>
#include <thread>

#include "engine/platform.h"
#include "engine_test_support.h"

namespace {
std::shared_ptr<TSound> soundOf(std::vector<std::int16_t> pcm, int channels, bool loop) {
    auto sound = std::make_shared<TSound>();
    sound->pcm = std::move(pcm);
    sound->channels = channels;
    sound->loop = loop;
    return sound;
}

std::vector<std::int16_t> mix(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2, 12345);
    MixAudio(out.data(), frames);
    return out;
}
} // namespace

using Sound = HeadlessTest;

TEST_F(Sound, DecodesMonoAndStereoVorbis) {
    auto mono = encodeOgg(sineTone(11025, 1, 44100, 440, 12000), 1, 44100);
    RegisterResource("Test\\mono.ogg", mono.data(), mono.size());
    auto sound = TSound::Load("incbin::Test\\mono.ogg", 0);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->channels, 1);
    EXPECT_EQ(sound->FrameCount(), 11025);
    EXPECT_FALSE(sound->loop);
    int peak = 0;
    for (std::int16_t s : sound->pcm)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(peak, 12000, 1500);

    // Stereo at half the mixer's rate: resampled to 44.1 kHz, both sides kept.
    auto stereo = encodeOgg(sineTone(11025, 2, 22050, 220, 8000), 2, 22050);
    RegisterResource("Test\\stereo.ogg", stereo.data(), stereo.size());
    auto looped = TSound::Load("incbin::Test\\stereo.ogg", SOUND_LOOP);
    ASSERT_NE(looped, nullptr);
    EXPECT_EQ(looped->channels, 2);
    EXPECT_NEAR(looped->FrameCount(), 22050, 2);
    EXPECT_TRUE(looped->loop);

    // Doubling the rate must not mirror a 5 kHz tone to 17.05 kHz, as a straight line between samples
    // does (by about a tenth of the tone).
    auto high = encodeOgg(sineTone(22050, 1, 22050, 5000, 12000), 1, 22050);
    RegisterResource("Test\\high.ogg", high.data(), high.size());
    auto upsampled = TSound::Load("incbin::Test\\high.ogg", 0);
    ASSERT_NE(upsampled, nullptr);
    auto level = [&](double hz) { // Goertzel over the middle of the sound
        const int from = 4096, count = 32768;
        const double k = 2 * std::cos(2 * std::numbers::pi * hz / MIX_RATE);
        double s1 = 0, s2 = 0;
        for (int i = from; i < from + count; ++i) {
            const double s0 = upsampled->pcm[i] + k * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        return std::sqrt(s1 * s1 + s2 * s2 - k * s1 * s2);
    };
    EXPECT_LT(level(17050), level(5000) / 100);
    UnregisterResource("Test\\high.ogg");
    UnregisterResource("Test\\mono.ogg");
    UnregisterResource("Test\\stereo.ogg");
}

TEST_F(Sound, MissingTruncatedOrGarbageVorbisGivesNull) {
    auto bytes = encodeOgg(sineTone(22050, 1, 44100, 440, 12000), 1, 44100);
    std::vector<unsigned char> truncated(bytes.begin(),
                                         bytes.begin() + static_cast<long>(bytes.size() * 2 / 3));
    std::vector<unsigned char> shortHead(bytes.begin(), bytes.begin() + 40);
    std::vector<unsigned char> garbage(5000);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<unsigned char>(i * 73 + 5);
    // A damaged page in the middle: the Ogg checksum catches it.
    std::vector<unsigned char> damaged = bytes;
    for (std::size_t i = damaged.size() / 2; i < damaged.size() / 2 + 64; ++i)
        damaged[i] ^= 0x5A;
    RegisterResource("Test\\truncated.ogg", truncated.data(), truncated.size());
    RegisterResource("Test\\short.ogg", shortHead.data(), shortHead.size());
    RegisterResource("Test\\garbage.ogg", garbage.data(), garbage.size());
    RegisterResource("Test\\damaged.ogg", damaged.data(), damaged.size());
    for (const char* path :
         {"incbin::Test\\truncated.ogg", "incbin::Test\\short.ogg", "incbin::Test\\garbage.ogg",
          "incbin::Test\\damaged.ogg", "incbin::Test\\absent.ogg", "no/such.ogg"}) {
        EXPECT_EQ(TSound::Load(path, 0), nullptr) << path;
    }
    for (const char* name :
         {"Test\\truncated.ogg", "Test\\short.ogg", "Test\\garbage.ogg", "Test\\damaged.ogg"})
        UnregisterResource(name);
}

TEST_F(Sound, OneShotPlaysToItsEndThenFallsSilent) {
    auto sound = soundOf(std::vector<std::int16_t>(100, 1000), 1, false);
    auto channel = sound->Play(nullptr);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->Playing());
    auto first = mix(64);
    for (std::int16_t s : first)
        ASSERT_EQ(s, 1000); // mono is centred: both sides
    auto second = mix(64);
    EXPECT_EQ(second[35 * 2], 1000);
    EXPECT_EQ(second[36 * 2], 0);
    EXPECT_EQ(second[63 * 2 + 1], 0);
    EXPECT_FALSE(channel->Playing());
    EXPECT_EQ(PlayingChannelCount(), 0);
}

TEST_F(Sound, LoopKeepsLoopingUntilStopped) {
    std::vector<std::int16_t> ramp(100);
    for (int i = 0; i < 100; ++i)
        ramp[i] = static_cast<std::int16_t>(i * 10);
    auto sound = soundOf(ramp, 1, true);
    auto channel = sound->Play(nullptr);
    for (int buffer = 0; buffer < 3; ++buffer) {
        auto out = mix(250);
        for (int f = 0; f < 250; ++f)
            ASSERT_EQ(out[f * 2], ((buffer * 250 + f) % 100) * 10) << f;
    }
    // Muted (the window without focus), the loop goes on in silence and is heard again where it got to.
    SetAudioMuted(true);
    for (std::int16_t s : mix(25))
        ASSERT_EQ(s, 0);
    SetAudioMuted(false);
    EXPECT_EQ(mix(1)[0], 750);
    EXPECT_TRUE(channel->Playing());
    channel->Stop();
    EXPECT_FALSE(channel->Playing());
    for (std::int16_t s : mix(64))
        ASSERT_EQ(s, 0);
    // Playing again on the same channel starts from the beginning.
    EXPECT_EQ(sound->Play(channel), channel);
    EXPECT_TRUE(channel->Playing());
    EXPECT_EQ(mix(2)[2], 10);
}

TEST_F(Sound, ChannelsSumAndStereoKeepsItsSides) {
    auto stereo = soundOf({1000, -500, 1000, -500, 1000, -500}, 2, false);
    auto mono = soundOf({2000, 2000, 2000}, 1, false);
    stereo->Play(nullptr);
    mono->Play(nullptr);
    auto out = mix(4);
    EXPECT_EQ(out[0], 3000);
    EXPECT_EQ(out[1], 1500);
    EXPECT_EQ(out[4], 3000);
    EXPECT_EQ(out[6], 0); // both ended after three frames
}

// The player's volumes scale music and everything else apart; the channel's own volume on top.
TEST_F(Sound, MusicAndEffectsHaveVolumesOfTheirOwn) {
    auto effect = soundOf({8000, 8000}, 1, false);
    auto song = soundOf({0, 8000, 0, 8000}, 2, false); // heard on the right only
    song->music = true;
    SetEffectsVolume(0.25f);
    SetMusicVolume(0.5f);
    effect->Play(nullptr);
    song->Play(nullptr)->SetVolume(0.5f);
    auto out = mix(2);
    EXPECT_EQ(out[0], 2000);        // the effect at a quarter, alone on the left
    EXPECT_EQ(out[1], 2000 + 2000); // the song at a half of a half on the right
    SetEffectsVolume(7.0f);         // out of range: the nearest end
    SetMusicVolume(NAN);            // no number: the song as recorded
    EXPECT_EQ(EffectsVolume(), 1.0f);
    EXPECT_EQ(MusicVolume(), 1.0f);
    StopAllChannels();
    SetEffectsVolume(0.0f);
    effect->Play(nullptr);
    EXPECT_EQ(mix(1)[0], 0);
    SetEffectsVolume(1.0f);
}

TEST_F(Sound, LoudSumsAreLimitedSmoothly) {
    auto loud = soundOf(std::vector<std::int16_t>(64, 30000), 1, false);
    std::vector<std::int16_t> levels;
    for (int voices = 1; voices <= 4; ++voices) {
        StopAllChannels();
        for (int v = 0; v < voices; ++v)
            loud->Play(nullptr);
        levels.push_back(mix(1)[0]);
    }
    for (std::size_t i = 1; i < levels.size(); ++i)
        EXPECT_GT(levels[i], levels[i - 1]); // louder, never wrapped
    EXPECT_LT(levels.back(), 32767);
    EXPECT_GT(levels.front(), 24000);
}

TEST_F(Sound, IdleChannelAndSilentMachine) {
    TChannel idle;
    EXPECT_FALSE(idle.Playing());
    idle.Stop();               // nothing to stop
    EXPECT_FALSE(AudioOpen()); // headless: no device, and everything still works
    auto empty = soundOf({}, 1, true);
    auto channel = empty->Play(nullptr);
    EXPECT_FALSE(channel->Playing());
    for (std::int16_t s : mix(8))
        EXPECT_EQ(s, 0);

    // Nothing mixes here, yet a one-shot ends once its length has passed and the mixer lets go of it.
    auto blip = soundOf(std::vector<std::int16_t>(MIX_RATE / 10, 1000), 1, false); // 100 ms
    std::weak_ptr<TChannel> first = blip->Play(nullptr);
    AdvanceMillis(99);
    EXPECT_TRUE(first.lock()->Playing());
    AdvanceMillis(1);
    EXPECT_FALSE(first.lock()->Playing());
    for (int i = 0; i < 1000; ++i) {
        blip->Play(nullptr);
        AdvanceMillis(10);
    }
    EXPECT_EQ(PlayingChannelCount(), 9) << "those started less than 100 ms ago";
    EXPECT_TRUE(first.expired());
}

// A sound device that goes away leaves the game silent, its one-shots ending by the clock; when a device
// appears it is opened, and what was started meanwhile does not start all at once.
TEST_F(Sound, LostDeviceIsReopenedWhenOneAppears) {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1); // a device that plays nowhere
    ASSERT_TRUE(OpenAudio());
    SDL_Event event{};
    event.type = SDL_AUDIODEVICEREMOVED;
    event.adevice.which = engine_detail::AudioDeviceId() + 1; // another device
    engine_detail::HandleAudioDeviceEvent(event);
    ASSERT_TRUE(AudioOpen());
    event.adevice.which = engine_detail::AudioDeviceId();
    engine_detail::HandleAudioDeviceEvent(event);
    EXPECT_FALSE(AudioOpen());

    auto blip = soundOf(std::vector<std::int16_t>(MIX_RATE / 10, 1000), 1, false); // 100 ms
    auto hum = soundOf(std::vector<std::int16_t>(MIX_RATE / 10, 1000), 1, true);
    auto heardOut = blip->Play(nullptr);
    auto looping = hum->Play(nullptr);
    AdvanceMillis(150);
    event.type = SDL_AUDIODEVICEADDED;
    event.adevice.which = 0;
    engine_detail::HandleAudioDeviceEvent(event);
    EXPECT_TRUE(AudioOpen());
    EXPECT_FALSE(heardOut->Playing()) << "over by the clock: it must not start now";
    EXPECT_TRUE(looping->Playing());
    CloseAudio();
    event.type = SDL_AUDIODEVICEADDED;
    engine_detail::HandleAudioDeviceEvent(event);
    EXPECT_FALSE(AudioOpen()) << "a closed engine opens no device";
    StopAllChannels();
}

TEST_F(Sound, ChannelCallsAreSafeWhileMixing) {
    auto sound = soundOf(std::vector<std::int16_t>(4096, 100), 1, true);
    std::atomic<bool> done{false};
    std::thread mixer([&] {
        std::vector<std::int16_t> out(MIX_BUFFER_FRAMES * 2);
        while (!done)
            MixAudio(out.data(), MIX_BUFFER_FRAMES);
    });
    // Every call takes effect as on a quiet machine: the fresh channels left alone loop on, the
    // stopped ones and the reused one (stopped last at 1998) are silent.
    auto kept = std::make_shared<TChannel>();
    std::vector<std::shared_ptr<TChannel>> fresh(2000);
    for (int i = 0; i < 2000; ++i) {
        auto channel = sound->Play(i % 3 == 0 ? kept : nullptr);
        if (i % 2 == 0) channel->Stop();
        if (i % 3 != 0) fresh[i] = channel;
    }
    done = true;
    mixer.join();
    std::vector<std::int16_t> out(MIX_BUFFER_FRAMES * 2);
    for (int i = 0; i < 8; ++i) // past the end of the sound: the loops go round
        MixAudio(out.data(), MIX_BUFFER_FRAMES);
    EXPECT_FALSE(kept->Playing());
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(fresh[i] && fresh[i]->Playing(), fresh[i] && i % 2 == 1) << i;
    EXPECT_EQ(PlayingChannelCount(), 667);
    StopAllChannels();
    EXPECT_EQ(PlayingChannelCount(), 0);
}

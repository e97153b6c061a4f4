// Engine costs: drawing sprites through DrawFrame against the raw renderer call, and mixing channels.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/engine.h"
#include "engine/platform.h"

namespace {
constexpr int kSprites = 2000;

// A 29x21 sprite (the size of a tank) with some transparent pixels, and 2,000 places for it.
struct SpriteScene {
    std::shared_ptr<TImage> sprite;
    std::vector<float> xs, ys;

    SpriteScene() {
        InitHeadless();
        SeedRandom(1234);
        sprite = TImage::Create(29, 21, 1, 0);
        for (std::uint32_t& pixel : sprite->Lock(0)->pixels)
            pixel =
                RandomInt(0, 3) == 0 ? 0u : 0xFF000000u | static_cast<std::uint32_t>(RandomInt(0, 0xFFFFFF));
        SetImageAnchor(sprite, 14, 20);
        for (int i = 0; i < kSprites; ++i) {
            xs.push_back(static_cast<float>(RandomInt(0, 640)));
            ys.push_back(static_cast<float>(RandomInt(0, 480)));
        }
        SetBlend(BLEND_ALPHA);
        SetDrawScale(2, 2);
    }
    ~SpriteScene() { ShutdownEngine(); }
};

void BM_DrawFrameSprites(benchmark::State& state) {
    SpriteScene scene;
    for (auto _ : state) {
        for (int i = 0; i < kSprites; ++i)
            DrawFrame(scene.sprite, scene.xs[i], scene.ys[i], 0);
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_DrawFrameSprites)->Unit(benchmark::kMillisecond);

// The same quads, built by hand and handed straight to SDL_RenderGeometry on the same renderer.
void BM_RawRenderGeometrySprites(benchmark::State& state) {
    SpriteScene scene;
    SDL_Renderer* renderer = engine_detail::platform().renderer;
    SDL_Texture* texture = engine_detail::FrameTexture(*scene.sprite, 0);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    static const int indices[6] = {0, 1, 3, 0, 3, 2};
    for (auto _ : state) {
        for (int i = 0; i < kSprites; ++i) {
            const float left = scene.xs[i] - 28, top = scene.ys[i] - 40;
            SDL_Vertex v[4];
            for (int c = 0; c < 4; ++c) {
                v[c].position.x = left + ((c & 1) ? 58.0f : 0.0f);
                v[c].position.y = top + ((c & 2) ? 42.0f : 0.0f);
                v[c].color = SDL_Color{255, 255, 255, 255};
                v[c].tex_coord.x = (c & 1) ? 1.0f : 0.0f;
                v[c].tex_coord.y = (c & 2) ? 1.0f : 0.0f;
            }
            SDL_RenderGeometry(renderer, texture, v, 4, indices, 6);
        }
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_RawRenderGeometrySprites)->Unit(benchmark::kMillisecond);

// Mirrored sprites (units facing left) on the same renderer.
void BM_DrawFrameMirroredSprites(benchmark::State& state) {
    SpriteScene scene;
    SetDrawScale(-2, 2);
    for (auto _ : state) {
        for (int i = 0; i < kSprites; ++i)
            DrawFrame(scene.sprite, scene.xs[i], scene.ys[i], 0);
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_DrawFrameMirroredSprites)->Unit(benchmark::kMillisecond);

// One 1,024-frame buffer of 32 playing channels (half mono, half stereo, all looping).
void BM_Mix32Channels(benchmark::State& state) {
    StopAllChannels();
    SeedRandom(99);
    std::vector<std::shared_ptr<TSound>> sounds;
    std::vector<std::shared_ptr<TChannel>> channels;
    for (int i = 0; i < 32; ++i) {
        auto sound = std::make_shared<TSound>();
        sound->channels = i % 2 ? 2 : 1;
        sound->loop = true;
        sound->pcm.resize(static_cast<std::size_t>(MIX_RATE / 2 + i * 97) * sound->channels);
        for (std::int16_t& sample : sound->pcm)
            sample = static_cast<std::int16_t>(RandomInt(-4000, 4000));
        channels.push_back(sound->Play(nullptr));
        sounds.push_back(sound);
    }
    std::vector<std::int16_t> out(MIX_BUFFER_FRAMES * 2);
    for (auto _ : state) {
        MixAudio(out.data(), MIX_BUFFER_FRAMES);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * MIX_BUFFER_FRAMES);
    StopAllChannels();
}
BENCHMARK(BM_Mix32Channels)->Unit(benchmark::kMicrosecond);
// A typed walk over a crowded actor list: 600 objects, one in three of the class looked for.
struct Walked : Object {
    static constexpr KindMask kKind = KindMask{1} << 63;
    Walked() { kinds |= kKind; }
    int hits = 0;
};

void BM_TypedWalk600(benchmark::State& state) {
    TList list;
    for (int i = 0; i < 600; ++i) {
        if (i % 3 == 0) {
            list.AddLast(std::make_shared<Walked>());
        } else {
            list.AddLast(std::make_shared<Object>());
        }
    }
    for (auto _ : state) {
        for (const auto& walked : list.typed<Walked>())
            ++walked->hits;
    }
    state.SetItemsProcessed(state.iterations() * 600);
}
BENCHMARK(BM_TypedWalk600)->Unit(benchmark::kMicrosecond);

// Flip alone: the back buffer copied to a screen as large as itself (today's 640x480 window), and
// shown doubled and centred on a 1920x1080 screen with black bars, on the same software renderer.
void BM_Flip(benchmark::State& state) {
    InitHeadless();
    SetHeadlessScreenSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Cls();
    for (auto _ : state)
        Flip(0);
    ShutdownEngine();
}
BENCHMARK(BM_Flip)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

// Flip as it was before the window could be resized: the back buffer blended over the whole 640x480
// window, as SDL blends a texture with alpha unless told otherwise.
void BM_FlipUnscaledAsBefore(benchmark::State& state) {
    InitHeadless();
    Cls();
    engine_detail::Platform& p = engine_detail::platform();
    SDL_SetTextureBlendMode(p.target, SDL_BLENDMODE_BLEND);
    for (auto _ : state) {
        SDL_SetRenderTarget(p.renderer, nullptr);
        SDL_RenderCopy(p.renderer, p.target, nullptr, nullptr);
        SDL_RenderPresent(p.renderer);
        SDL_SetRenderTarget(p.renderer, p.target);
    }
    ShutdownEngine();
}
BENCHMARK(BM_FlipUnscaledAsBefore)->Unit(benchmark::kMicrosecond);
} // namespace

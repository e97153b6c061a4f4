// Draws one test scene with the engine: sprites at scale 2 (plain, mirrored, turned, tinted, faded) and
// text in the game font. Windowed it shows the scene for a few seconds (Esc or closing the window ends it
// early); with --headless it saves the back buffer as a PNG instead.
//
//   vevu_engine_demo [seconds]            windowed, default 3 seconds
//   vevu_engine_demo --headless out.png   no window, no sound device
#include <cstdio>
#include <string>

#include "engine/engine.h"
#include "engine/platform.h"
#include "game/game_clock.h"

namespace {
void drawScene(const std::shared_ptr<TImage>& sprite, const std::shared_ptr<TImage>& walker,
               const std::shared_ptr<TImage>& label, int tick) {
    SetClsColor(16, 24, 48);
    Cls();
    SetBlend(BLEND_ALPHA);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetDrawTransform(0, 2, 2);
    DrawFrame(sprite, 120, 200, 0);
    SetDrawScale(-2, 2);
    DrawFrame(sprite, 260, 200, 0);
    SetDrawTransform(90, 2, 2);
    DrawFrame(sprite, 400, 200, 0);
    SetDrawTransform(30, 2, 2);
    DrawFrame(sprite, 520, 200, 0);
    SetDrawTransform(0, 2, 2);
    SetColor(255, 80, 80);
    DrawFrame(sprite, 120, 320, 0);
    SetColor(255, 255, 255);
    SetAlpha(0.5f);
    DrawFrame(sprite, 260, 320, 0);
    SetAlpha(1);
    if (walker) {
        for (int f = 0; f < walker->FrameCount(); ++f)
            DrawFrame(walker, 380 + 70.0f * f, 320, (f + tick / 8) % walker->FrameCount());
    }
    SetDrawScale(2, 2);
    SetColor(0, 255, 0);
    DrawString("The Vevu Zudevur", 20, 20);
    SetColor(255, 255, 255);
    DrawString("Matter: " + StringFromInt(120 + tick), 20, 50);
    SetDrawScale(2, 2);
    DrawFrame(label, 330, 20, 0);
    SetDrawScale(1, 1);
    DrawString("engine check: plain, mirrored, turned 90, turned 30, tinted, faded", 20, 440);
}

std::shared_ptr<TImage> fallbackSprite() {
    auto image = TImage::Create(29, 21, 1, 0);
    TPixmap* pixels = image->Lock(0);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 29; ++x)
            pixels->WritePixel(x, y,
                               (x < 10   ? 0xFFFF4040u
                                : x < 20 ? 0xFF40FF40u
                                         : 0xFF4040FFu) ^
                                   (y < 5 ? 0xFFFFFFu : 0));
    return image;
}
} // namespace

int main(int argc, char** argv) {
    const bool headless = argc >= 2 && std::string(argv[1]) == "--headless";
    const std::string out = headless && argc >= 3 ? argv[2] : "engine_demo.png";
    const int seconds = !headless && argc >= 2 ? std::atoi(argv[1]) : 3;

    FillResourceTable();
    auto sprite = TImage::Load("incbin::Gfx\\tank.png", 0);
    if (!sprite) sprite = fallbackSprite();
    SetImageAnchor(sprite, static_cast<float>(sprite->width / 2), static_cast<float>(sprite->height - 1));
    auto walker = TImage::LoadAnim("incbin::Gfx\\siegeSuit\\siegeSuitWalking.png", 32, 23, 0, 4, 0);
    if (walker) SetImageAnchor(walker, 16, 21);

    if (headless) {
        if (!InitHeadless()) {
            std::fprintf(stderr, "engine demo: the headless renderer could not start\n");
            return 1;
        }
    } else {
        SetWindowTitle("The Vevu Zudevur");
        CreateGraphics(640, 480, 0, 60, 0);
    }
    auto font = LoadFont("incbin::Font\\super_effective.ttf", 8, 0);
    if (!font) font = LoadFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 8, 0);
    SetFont(font);
    // A label made the way the game makes its labels: clear, draw, grab.
    auto label = createTextImage("grabbed label", 1, 1, 255, 220, 0);
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(engine_detail::platform().renderer, &info) == 0)
        std::printf("renderer: %s\n", info.name);

    if (headless) {
        drawScene(sprite, walker, label, 0);
        Flip(0);
        if (!SaveBackBufferPng(out)) {
            std::fprintf(stderr, "engine demo: cannot write %s\n", out.c_str());
            return 1;
        }
        std::printf("wrote %s\n", out.c_str());
        ShutdownEngine();
        return 0;
    }
    const int start = Millis();
    for (int tick = 0; Millis() - start < seconds * 1000; ++tick) {
        drawScene(sprite, walker, label, tick);
        Flip(0);
        if (CloseRequested() || KeyPressCount(KEY_ESCAPE) > 0) break;
        SleepMillis(16);
    }
    EndProgram();
}

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "engine/platform.h"
#include "engine/presentation.h"
#include "engine_test_support.h"

namespace {
constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// A 4x2 picture whose top-left pixel is red, top-right green, bottom-left blue, the rest white.
std::shared_ptr<TImage> markedImage() {
    auto image = TImage::Create(4, 2, 1, 0);
    TPixmap* pixels = image->Lock(0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            pixels->WritePixel(x, y, kWhite);
    pixels->WritePixel(0, 0, kRed);
    pixels->WritePixel(3, 0, kGreen);
    pixels->WritePixel(0, 1, kBlue);
    return image;
}

std::uint32_t rgb(std::uint32_t argb) {
    return argb & 0x00FFFFFF;
}
} // namespace

using Drawing = HeadlessTest;

TEST_F(Drawing, HandleAtScaleTwoLandsOnThePosition) {
    auto image = markedImage();
    SetImageAnchor(image, 2, 1);
    SetDrawScale(2, 2);
    DrawFrame(image, 100, 100, 0);
    // Corners (-2,-1)..(2,1) scaled by 2: the frame covers x 96..103, y 98..101.
    EXPECT_EQ(rgb(ReadBackBufferPixel(96, 98)), rgb(kRed));
    EXPECT_EQ(rgb(ReadBackBufferPixel(97, 99)), rgb(kRed));
    EXPECT_EQ(rgb(ReadBackBufferPixel(102, 98)), rgb(kGreen));
    EXPECT_EQ(rgb(ReadBackBufferPixel(103, 99)), rgb(kGreen));
    EXPECT_EQ(rgb(ReadBackBufferPixel(96, 100)), rgb(kBlue));
    EXPECT_EQ(rgb(ReadBackBufferPixel(100, 100)), rgb(kWhite)); // the handle pixel (2, 1)
    EXPECT_EQ(rgb(ReadBackBufferPixel(95, 98)), 0u);
    EXPECT_EQ(rgb(ReadBackBufferPixel(104, 98)), 0u);
    EXPECT_EQ(rgb(ReadBackBufferPixel(96, 97)), 0u);
    EXPECT_EQ(rgb(ReadBackBufferPixel(96, 102)), 0u);
    const DrawingState& s = GetDrawingState();
    EXPECT_FLOAT_EQ(s.tform_ix, 2);
    EXPECT_FLOAT_EQ(s.tform_jy, 2);
}

TEST_F(Drawing, NegativeScaleMirrorsAroundTheHandle) {
    auto image = markedImage();
    SetImageAnchor(image, 2, 1);
    SetDrawScale(-2, 2);
    DrawFrame(image, 100, 100, 0);
    // Image x u lands on 100 - 2 * (u - 2): red (u 0..1) at 102..103, green (u 3..4) at 96..97.
    EXPECT_EQ(rgb(ReadBackBufferPixel(103, 98)), rgb(kRed));
    EXPECT_EQ(rgb(ReadBackBufferPixel(102, 99)), rgb(kRed));
    EXPECT_EQ(rgb(ReadBackBufferPixel(96, 98)), rgb(kGreen));
    EXPECT_EQ(rgb(ReadBackBufferPixel(103, 100)), rgb(kBlue));
}

TEST_F(Drawing, RotationNinetyTurnsClockwiseOnScreen) {
    auto image = markedImage();
    SetDrawRotation(90);
    DrawFrame(image, 50, 50, 0);
    // ix = 0, iy = -1, jx = 1, jy = 0: image (u, v) lands on (50 - v, 50 + u).
    EXPECT_EQ(rgb(ReadBackBufferPixel(49, 50)), rgb(kRed));
    EXPECT_EQ(rgb(ReadBackBufferPixel(49, 53)), rgb(kGreen));
    EXPECT_EQ(rgb(ReadBackBufferPixel(48, 50)), rgb(kBlue));
    EXPECT_EQ(rgb(ReadBackBufferPixel(50, 50)), 0u);
    EXPECT_EQ(rgb(ReadBackBufferPixel(49, 54)), 0u);
    SetDrawTransform(0, 1, 1);
    const DrawingState& s = GetDrawingState();
    EXPECT_FLOAT_EQ(s.tform_ix, 1);
    EXPECT_FLOAT_EQ(s.tform_iy, 0);
}

TEST_F(Drawing, ColourAndAlphaModulateOverTheBackground) {
    auto image = TImage::Create(2, 2, 1, 0);
    for (std::uint32_t& p : image->Lock(0)->pixels)
        p = kWhite;
    SetClsColor(0, 0, 255);
    Cls();
    SetBlend(BLEND_ALPHA);
    SetColor(255, 128, 0);
    DrawFrame(image, 10, 10, 0);
    std::uint32_t tinted = ReadBackBufferPixel(10, 10);
    EXPECT_EQ(redOf(tinted), 255);
    EXPECT_NEAR(greenOf(tinted), 128, 1);
    EXPECT_EQ(blueOf(tinted), 0);

    SetColor(255, 255, 255);
    SetAlpha(0.5f);
    DrawFrame(image, 20, 20, 0);
    std::uint32_t half = ReadBackBufferPixel(20, 20);
    EXPECT_NEAR(redOf(half), 128, 2);
    EXPECT_NEAR(greenOf(half), 128, 2);
    EXPECT_EQ(blueOf(half), 255);

    // The picture's own alpha blends too: a transparent pixel leaves the background alone.
    image->Lock(0)->WritePixel(0, 0, 0x00FFFFFF);
    SetAlpha(1);
    DrawFrame(image, 30, 30, 0);
    EXPECT_EQ(rgb(ReadBackBufferPixel(30, 30)), rgb(kBlue));
    EXPECT_EQ(rgb(ReadBackBufferPixel(31, 30)), rgb(kWhite)); // the rewritten pixmap reached the texture
    int r, g, b;
    ReadColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);

    // A translucent pixel of the picture itself, unmodulated, rounds alike on every platform (x86's MMX
    // routine in SDL made 149 of it, the page 150): upright, at scale 2 across the screen's top edge,
    // and turned.
    auto glass = TImage::Create(2, 2, 1, 0);
    for (std::uint32_t& p : glass->Lock(0)->pixels)
        p = 0x80C8C8C8;
    SetClsColor(100, 100, 100);
    Cls();
    DrawFrame(glass, 40, 40, 0);
    SetDrawScale(2, 2);
    DrawFrame(glass, 50, -2, 0);
    SetDrawTransform(90, 1, 1);
    DrawFrame(glass, 60, 60, 0);
    for (auto [x, y] : {std::pair{40, 40}, std::pair{51, 1}, std::pair{59, 61}})
        EXPECT_EQ(rgb(ReadBackBufferPixel(x, y)), 0x969696u) << x << "," << y;
}

TEST_F(Drawing, FrameOutOfRangeOrNullImageDrawsNothing) {
    auto image = TImage::Create(8, 8, 2, 0);
    for (TPixmap& frame : image->pixmaps)
        for (std::uint32_t& p : frame.pixels)
            p = kWhite;
    DrawFrame(image, 0, 0, 2);
    DrawFrame(image, 0, 0, -1);
    DrawFrame(nullptr, 0, 0, 0);
    DrawFrame(std::shared_ptr<TImage>(), 0, 0, 0);
    DrawFrame(image, std::nanf(""), 2, 0); // positions that are no place on the screen
    DrawFrame(image, 1e30f, -1e30f, 0);
    SetDrawScale(std::numeric_limits<float>::infinity(), 1);
    DrawFrame(image, 0, 0, 0);
    SetDrawScale(1, 1);
    EXPECT_EQ(rgb(ReadBackBufferPixel(2, 2)), 0u);
    EXPECT_EQ(image->Lock(2), nullptr);
    DrawFrame(image, 0, 0, 1);
    EXPECT_EQ(rgb(ReadBackBufferPixel(2, 2)), rgb(kWhite));
}

TEST_F(Drawing, DrawingSwitchedOffLeavesTheBackBufferAlone) {
    auto image = markedImage();
    DrawFrame(image, 10, 20, 0); // drawn before: stale once drawing is off
    SetDrawingEnabled(false);
    SetClsColor(0, 0, 255);
    Cls();
    DrawFrame(image, 0, 0, 0);
    Flip(0);
    EXPECT_EQ(rgb(ReadBackBufferPixel(0, 0)), 0u);
    auto grabbed = TImage::Create(4, 2, 1, 0);
    GrabFrame(grabbed, 10, 20, 0);
    EXPECT_EQ(grabbed->Lock(0)->ReadPixel(0, 0), 0u) << "a blank, transparent frame";
    ASSERT_TRUE(InitHeadless()); // a fresh headless platform draws again
    EXPECT_TRUE(DrawingEnabled());
    DrawFrame(image, 0, 0, 0);
    EXPECT_EQ(rgb(ReadBackBufferPixel(0, 0)), rgb(kRed));
}

TEST_F(Drawing, TexturesAreRemadeAfterTheRendererIsRecreated) {
    auto image = markedImage();
    DrawFrame(image, 0, 0, 0);
    const int first = GraphicsGeneration();
    EXPECT_EQ(image->frames[0].generation, first);
    RecreateRenderer();
    EXPECT_GT(GraphicsGeneration(), first);
    EXPECT_EQ(rgb(ReadBackBufferPixel(0, 0)), 0u); // a new back buffer
    DrawFrame(image, 0, 0, 0);
    EXPECT_EQ(image->frames[0].generation, GraphicsGeneration());
    EXPECT_EQ(rgb(ReadBackBufferPixel(0, 0)), rgb(kRed));
    // Images outlive the engine: dropping them afterwards frees nothing twice.
    ShutdownEngine();
    image.reset();
    ASSERT_TRUE(InitHeadless());
}

TEST_F(Drawing, GrabFrameCopiesTheBackBufferAndMasksBlack) {
    auto source = markedImage();
    DrawFrame(source, 10, 20, 0);
    auto plain = TImage::Create(4, 2, 1, 0);
    GrabFrame(plain, 10, 20, 0);
    EXPECT_EQ(plain->Lock(0)->ReadPixel(0, 0), kRed);
    EXPECT_EQ(plain->Lock(0)->ReadPixel(3, 0), kGreen);
    auto masked = TImage::Create(6, 3, 1, IMAGE_MASKED | IMAGE_DYNAMIC);
    GrabFrame(masked, 9, 20, 0);
    EXPECT_EQ(masked->Lock(0)->ReadPixel(0, 0), 0u); // black background: transparent
    EXPECT_EQ(masked->Lock(0)->ReadPixel(1, 0), kRed);
    EXPECT_EQ(masked->Lock(0)->ReadPixel(1, 2), 0u);
    // A rectangle reaching past the back buffer: the outside part is transparent.
    auto edge = TImage::Create(4, 4, 1, 0);
    GrabFrame(edge, -2, -2, 0);
    EXPECT_EQ(edge->Lock(0)->ReadPixel(0, 0), 0u);
    EXPECT_EQ(alphaOf(edge->Lock(0)->ReadPixel(3, 3)), 255);
    GrabFrame(edge, 0, 0, 5); // frame out of range: nothing
}

TEST_F(Drawing, ClsFillsWithTheClearColourAndThePngShowsTheFrame) {
    SetClsColor(10, 20, 30);
    Cls();
    EXPECT_EQ(ReadBackBufferPixel(320, 240), 0xFF0A141Eu);
    auto image = markedImage();
    SetDrawScale(8, 8);
    DrawFrame(image, 300, 200, 0);
    Flip(0);
    const std::string path = scratchDir() + "/frame.png";
    ASSERT_TRUE(SaveBackBufferPng(path));
    auto saved = TImage::Load(path);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->width, 640);
    EXPECT_EQ(saved->height, 480);
    EXPECT_EQ(saved->Lock(0)->ReadPixel(301, 201), kRed);
    EXPECT_EQ(saved->Lock(0)->ReadPixel(0, 0), 0xFF0A141Eu);
    std::remove(path.c_str());
}

TEST(Presentation, TheBackBufferFillsTheWindowAtTheLargestWholeScaleCentred) {
    struct Case {
        int drawableWidth, drawableHeight;
        ScreenRect expected;
    };
    const Case cases[] = {
        {640, 480, {0, 0, 640, 480}},
        {1280, 960, {0, 0, 1280, 960}}, // also a high-DPI drawable twice a 640x480 window
        {1920, 1080, {320, 60, 1280, 960}},
        {3840, 2160, {640, 120, 2560, 1920}},
        {800, 600, {80, 60, 640, 480}},
        {500, 400, {0, 12, 500, 375}}, // smaller than the picture: scaled down, never cropped
        {300, 200, {17, 0, 266, 200}},
        {1, 1, {}},
        {0, 0, {}},
        {-5, 480, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitBackBuffer(c.drawableWidth, c.drawableHeight, 640, 480), c.expected)
            << c.drawableWidth << "x" << c.drawableHeight;
    }
    EXPECT_TRUE(FitBackBuffer(640, 480, 0, 480).empty());
}

// Fill scaling: the largest 4:3 rectangle, reached by a whole-number picture that is then only shrunk.
TEST(Presentation, FillScalingUsesTheWholeHeightOfCommonLaptopScreens) {
    struct Case {
        int drawableWidth, drawableHeight;
        FillPlan expected;
    };
    const Case cases[] = {
        {1366, 768, {{171, 0, 1024, 768}, 2}}, // 1.6 times: a picture twice the size, shrunk
        {1600, 900, {{200, 0, 1200, 900}, 2}},
        {1280, 800, {{106, 0, 1067, 800}, 2}},  // 1066.67 wide, rounded
        {1280, 960, {{0, 0, 1280, 960}, 2}},    // a whole number already: nothing smooth about it
        {1920, 1080, {{240, 0, 1440, 1080}, 3}},
        {480, 800, {{0, 220, 480, 360}, 1}}, // a portrait screen: the width decides
        {0, 0, {}},
        {1366, 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FillBackBuffer(c.drawableWidth, c.drawableHeight, 640, 480), c.expected)
            << c.drawableWidth << "x" << c.drawableHeight;
    }
}

// A loop on a fake display: each frame takes `work`, is held as long as the pacer asks (a sleep ends a
// little late) and presented; a present that waits for the display returns at its next refresh, one that
// ignores vertical sync at once. When each frame was shown.
struct ShownFrames {
    std::vector<std::int64_t> at;
    bool presentsWait = false;
};
ShownFrames showFrames(double reportedHz, std::int64_t refresh, bool presentsWait, std::int64_t work) {
    constexpr std::int64_t kSleepLate = 400'000, kPresentCost = 300'000;
    FramePacer pacer;
    pacer.setRate(reportedHz);
    ShownFrames shown;
    std::int64_t now = 0;
    for (int frame = 0; frame < 3600; ++frame) {
        now += work;
        if (pacer.presentAt(now) > now) now = pacer.presentAt(now) + kSleepLate;
        const std::int64_t called = now;
        now = presentsWait ? (called / refresh + 1) * refresh : called + kPresentCost;
        shown.at.push_back(now);
        pacer.presented(called, now);
    }
    shown.presentsWait = pacer.presentsWait();
    return shown;
}

// Where presents wait for the display they are the whole pacing, even when the display reports a rate a
// little below its real one (59.94 Hz as 59, 143.98 as 143): nothing sleeps on top of them, so no refresh
// passes without a new frame. Where they do not, frames are held a period apart, counted from when the
// last present really returned.
TEST(Presentation, PresentsThatWaitForTheDisplayPaceTheLoopTheOthersAreHeldAPeriodApart) {
    constexpr std::int64_t us = 1'000, ms = 1'000'000;
    FramePacer pacer;
    EXPECT_EQ(pacer.presentAt(5 * ms), 5 * ms) << "the first frame";
    pacer.setRate(0);
    EXPECT_EQ(pacer.period(), 16'666'667) << "60 Hz when the display does not say";
    pacer.setRate(144);
    EXPECT_EQ(pacer.period(), 6'944'444);

    struct Display {
        double reportedHz;
        std::int64_t refresh; // the real one; without vertical sync the reported one
        bool presentsWait;
    };
    for (const Display& d :
         {Display{59, 16'683 * us, true}, Display{143, 6'945 * us, true}, Display{60, 16'667 * us, true},
          Display{60, 16'667 * us, false}, Display{143, 6'993 * us, false}})
        for (const std::int64_t work : {5 * ms, 12 * ms}) {
            if (work >= d.refresh) continue; // a frame longer than a refresh cannot be shown at each one
            const ShownFrames shown = showFrames(d.reportedHz, d.refresh, d.presentsWait, work);
            pacer.setRate(d.reportedHz);
            const std::string what = std::to_string(d.reportedHz) + " Hz reported, presents " +
                                     (d.presentsWait ? "wait" : "do not wait") + ", " +
                                     std::to_string(work / ms) + " ms of work";
            EXPECT_EQ(shown.presentsWait, d.presentsWait) << what;
            for (std::size_t frame = 1; frame < shown.at.size(); ++frame) {
                const std::int64_t gap = shown.at[frame] - shown.at[frame - 1];
                ASSERT_LE(gap, d.refresh * 3 / 2) << what << ": a refresh without a new frame at " << frame;
                if (!d.presentsWait) {
                    ASSERT_GE(gap, pacer.period()) << what << ": too soon at " << frame;
                }
            }
        }

    // Vertical sync turned off or on measures presents afresh; the first are held a period apart.
    pacer.setRate(60);
    pacer.presented(0, 10 * ms); // held 10 ms: it waited for the display
    EXPECT_TRUE(pacer.presentsWait());
    EXPECT_EQ(pacer.presentAt(12 * ms), 12 * ms);
    pacer.setVsyncWanted(false);
    EXPECT_FALSE(pacer.presentsWait());
    EXPECT_EQ(pacer.presentAt(12 * ms), 10 * ms + pacer.period());
}

// A renderer that cannot be made again after its device was lost: the loop goes on at the display's rate
// behind the frozen picture instead of spinning, says so once and tries again every second until it can.
TEST_F(Drawing, ALostRendererIsTriedAgainEverySecondWhileTheLoopKeepsItsPace) {
    int tries = 0;
    engine_detail::SetRendererMaker([&](std::string* error) {
        ++tries;
        *error = "no device";
        return false;
    });
    struct Restore {
        ~Restore() { engine_detail::SetRendererMaker(nullptr); }
    } restore;
    ::testing::internal::CaptureStderr();
    RecreateRenderer(); // the device was reset
    const int lostAt = Millis();
    for (int pass = 0; pass < 300; ++pass) {
        Cls();
        DrawFrame(markedImage(), 0, 0, 0);
        Flip(0);
    }
    const int lostFor = MillisBetween(lostAt, Millis());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_GE(lostFor, 300 * 16) << "about 60 passes a second";
    EXPECT_LE(lostFor, 300 * 18);
    EXPECT_EQ(tries, 1 + lostFor / 1000);
    EXPECT_NE(said.find("vevu: the renderer was lost and cannot be made again (no device)"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find("cannot be made again"), said.rfind("cannot be made again")) << "said once: " << said;

    engine_detail::SetRendererMaker(nullptr); // the device is back
    for (int pass = 0; pass < 100 && !engine_detail::platform().renderer; ++pass)
        Flip(0);
    EXPECT_LE(MillisBetween(lostAt, Millis()), lostFor + 1000);
    ASSERT_NE(engine_detail::platform().renderer, nullptr);
    DrawFrame(markedImage(), 0, 0, 0);
    EXPECT_EQ(rgb(ReadBackBufferPixel(0, 0)), rgb(kRed));
}

// Flip on a screen of another size, as a resized window: each art pixel a square block, black bars.
TEST_F(Drawing, FlipShowsEveryArtPixelAsASquareBlockOnBlack) {
    ASSERT_TRUE(SetHeadlessScreenSize(1920, 1080));
    SetClsColor(255, 255, 255);
    Cls();
    DrawFrame(markedImage(), 0, 0, 0);
    Flip(0);
    auto at = [](int x, int y) {
        const SDL_Surface* screen = engine_detail::platform().surface;
        return rgb(static_cast<const std::uint32_t*>(screen->pixels)[y * screen->pitch / 4 + x]);
    };
    // The picture is doubled into 1280x960 at (320, 60).
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            EXPECT_EQ(at(320 + dx, 60 + dy), rgb(kRed));
            EXPECT_EQ(at(326 + dx, 60 + dy), rgb(kGreen));
            EXPECT_EQ(at(320 + dx, 62 + dy), rgb(kBlue));
        }
    }
    EXPECT_EQ(at(328, 60), rgb(kWhite));
    EXPECT_EQ(at(1599, 1019), rgb(kWhite));
    for (auto [x, y] : {std::pair{319, 60}, {1600, 500}, {800, 59}, {800, 1020}, {0, 0}, {1919, 1079}})
        EXPECT_EQ(at(x, y), 0u) << x << "," << y;

    // A window resized to a single pixel shows nothing and survives.
    ASSERT_TRUE(SetHeadlessScreenSize(1, 1));
    Cls();
    Flip(0);
    EXPECT_EQ(at(0, 0), 0u);
    EXPECT_EQ(rgb(ReadBackBufferPixel(5, 5)), rgb(kWhite)) << "the back buffer is untouched";
    EXPECT_FALSE(SetHeadlessScreenSize(0, 10));
}

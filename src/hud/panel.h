#pragma once
// The look of the game's full-screen panels (the options, the replays): the upgrade menu's page, a dark
// panel with a magenta edge over the darkened screen, text in bone, green and violet at twice the font's
// size.
#include <memory>
#include <string>

class TImage;

namespace panel {

struct Colour {
    int r, g, b;
};
constexpr Colour kOutline{20, 16, 28};
constexpr Colour kPanel{32, 32, 44};
constexpr Colour kEdge{224, 78, 168};
constexpr Colour kBar{52, 52, 74};
constexpr Colour kHeading{180, 138, 224};
constexpr Colour kText{220, 212, 192};
constexpr Colour kChosen{139, 224, 78};
constexpr Colour kValue{184, 255, 128};
constexpr Colour kMessage{255, 192, 64};
constexpr Colour kHint{138, 130, 112};

constexpr int kX = 40, kY = 16, kW = 560, kH = 448;

// A white picture to stretch into rectangles.
std::shared_ptr<TImage> Pixel();
void Fill(int x, int y, int w, int h, Colour c, float alpha = 1.0f);
void Text(const std::string& s, int x, int y, Colour c);
int TextWidth(const std::string& s);
// The darkened screen, the panel and its title centred at the top.
void DrawFrame(const std::string& title);

} // namespace panel

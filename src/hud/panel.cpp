#include "hud/panel.h"

#include "engine/engine.h"

namespace panel {

std::shared_ptr<TImage> Pixel() {
    static const std::shared_ptr<TImage> pixel = TImage::Load("incbin::whitePixel.png", 0);
    return pixel;
}

void Fill(int x, int y, int w, int h, Colour c, float alpha) {
    const std::shared_ptr<TImage> pixel = Pixel();
    if (!pixel || pixel->width <= 0 || pixel->height <= 0) return;
    SetColor(c.r, c.g, c.b);
    SetAlpha(alpha);
    SetDrawScale(static_cast<float>(w) / static_cast<float>(pixel->width),
                 static_cast<float>(h) / static_cast<float>(pixel->height));
    ::DrawFrame(pixel, static_cast<float>(x), static_cast<float>(y), 0);
    SetAlpha(1.0f);
}

void Text(const std::string& s, int x, int y, Colour c) {
    SetColor(c.r, c.g, c.b);
    SetDrawScale(2, 2);
    DrawString(s, static_cast<float>(x), static_cast<float>(y));
}

int TextWidth(const std::string& s) {
    return StringWidth(s) * 2;
}

void DrawFrame(const std::string& title) {
    // The screen below shows through, darkened, around the panel.
    Fill(0, 0, 640, 480, kOutline, 0.6f);
    Fill(kX - 4, kY - 4, kW + 8, kH + 8, kOutline);
    Fill(kX - 2, kY - 2, kW + 4, kH + 4, kEdge);
    Fill(kX, kY, kW, kH, kPanel);
    Text(title, 320 - TextWidth(title) / 2, kY + 10, kHeading);
}

} // namespace panel

#include "hud/notice.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/file_store.h"
#include "engine/words.h"
#include "game/constants.h"

void tNotice::show(const std::string& line) {
    if (line.empty() || line == current_) return;
    if (std::find(waiting_.begin(), waiting_.end(), line) != waiting_.end()) return;
    if (waiting_.size() < kMaxWaiting) waiting_.push_back(line);
}

void tNotice::update() {
    for (const std::string& line : PlayerFiles().takeNotices())
        show(line);
    for (const std::string& line : TakeLanguageNotices())
        show(line);
    const int now = Millis();
    if (!current_.empty() && now - shownAt_ < kShowMillis) return;
    current_.clear();
    if (waiting_.empty()) return;
    current_ = waiting_.front();
    waiting_.pop_front();
    shownAt_ = now;
}

void tNotice::draw() {
    if (current_.empty()) return;
    const int left = kShowMillis - (Millis() - shownAt_);
    const float alpha = std::clamp(static_cast<float>(left) / kFadeMillis, 0.0f, 1.0f);
    // The font's own size, squeezed sideways should a long line not fit the 640 pixels.
    const float width = static_cast<float>(StringWidth(current_));
    const float scaleX = width > 628.0f ? 628.0f / width : 1.0f;
    const float height = static_cast<float>(std::max(StringHeight(current_), 8));
    const float top = 480.0f - height - 8.0f;
    // A dark band behind the line keeps it readable over the bright battlefield (the black screen
    // picture, 320x240, stretched).
    static const std::shared_ptr<TImage> band = TImage::Load("incbin::Gfx\\blackScreen.png", 0);
    SetAlpha(0.75f * alpha);
    SetDrawScale(2.0f, (height + 8.0f) / 240.0f);
    DrawFrame(band, 0, top - 4.0f, 0);
    SetColor(255, 255, 96);
    SetAlpha(alpha);
    SetDrawScale(scaleX, 1);
    DrawString(current_, (640.0f - width * scaleX) / 2.0f, top);
    SetAlpha(1.0f);
    SetColor(colours::defaultR, colours::defaultG, colours::defaultB);
    SetDrawScale(2, 2);
}

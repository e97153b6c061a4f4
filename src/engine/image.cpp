#include "engine/image.h"

#include <png.h>

#include <cstring>

#include "engine/platform.h"
#include "engine/resources.h"

using engine_detail::platform;

namespace {
// Black (any alpha) becomes fully transparent in masked images.
std::uint32_t applyMask(std::uint32_t argb) {
    return (argb & 0x00FFFFFFu) == 0 ? 0u : argb;
}

bool decodeResource(const std::string& path, TPixmap& out) {
    ResourceData data = OpenResource(path);
    return data && DecodePng(data.bytes, data.size, out);
}

void setMasked(TImage& image) {
    const bool masked = (image.flags & IMAGE_MASKED) != 0;
    for (TPixmap& pixmap : image.pixmaps) {
        pixmap.masked = masked;
        if (masked) {
            for (std::uint32_t& pixel : pixmap.pixels)
                pixel = applyMask(pixel);
        }
    }
}

std::shared_ptr<TImage> makeImage(int width, int height, int frameCount, int flags) {
    auto image = std::make_shared<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->pixmaps.reserve(static_cast<std::size_t>(frameCount));
    for (int i = 0; i < frameCount; ++i)
        image->pixmaps.emplace_back(width, height);
    image->frames.resize(static_cast<std::size_t>(frameCount));
    return image;
}
} // namespace

TPixmap::TPixmap(int w, int h)
    : width(w > 0 ? w : 0), height(h > 0 ? h : 0), pixels(static_cast<std::size_t>(width) * height, 0u) {}

std::uint32_t TPixmap::ReadPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return pixels[static_cast<std::size_t>(y) * width + x];
}

void TPixmap::WritePixel(int x, int y, std::uint32_t argb) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    pixels[static_cast<std::size_t>(y) * width + x] = masked ? applyMask(argb) : argb;
    ++version;
}

TImageFrame::~TImageFrame() {
    release();
}

TImageFrame::TImageFrame(TImageFrame&& other) noexcept
    : texture(other.texture), generation(other.generation), pixmapVersion(other.pixmapVersion) {
    other.texture = nullptr;
    other.generation = -1;
}

TImageFrame& TImageFrame::operator=(TImageFrame&& other) noexcept {
    if (this != &other) {
        release();
        texture = other.texture;
        generation = other.generation;
        pixmapVersion = other.pixmapVersion;
        other.texture = nullptr;
        other.generation = -1;
    }
    return *this;
}

void TImageFrame::release() {
    // A texture of an earlier renderer died with that renderer; only a live one is ours to free.
    const auto& p = platform();
    if (texture && p.rendererAlive && generation == p.generation) SDL_DestroyTexture(texture);
    texture = nullptr;
    generation = -1;
}

std::shared_ptr<TImage> TImage::Load(const std::string& path, int flags) {
    TPixmap picture;
    if (!decodeResource(path, picture)) return nullptr;
    auto image = std::make_shared<TImage>();
    image->width = picture.width;
    image->height = picture.height;
    image->flags = flags;
    image->pixmaps.push_back(std::move(picture));
    image->frames.resize(1);
    setMasked(*image);
    return image;
}

std::shared_ptr<TImage> TImage::LoadAnim(const std::string& path, int cellWidth, int cellHeight,
                                         int firstCell, int cellCount, int flags) {
    if (cellWidth <= 0 || cellHeight <= 0 || firstCell < 0 || cellCount <= 0) return nullptr;
    TPixmap picture;
    if (!decodeResource(path, picture)) return nullptr;
    const int across = picture.width / cellWidth;
    const int down = picture.height / cellHeight;
    if (static_cast<long long>(firstCell) + cellCount > static_cast<long long>(across) * down) return nullptr;
    auto image = makeImage(cellWidth, cellHeight, cellCount, flags);
    for (int i = 0; i < cellCount; ++i) {
        const int cell = firstCell + i;
        const int left = (cell % across) * cellWidth, top = (cell / across) * cellHeight;
        TPixmap& frame = image->pixmaps[static_cast<std::size_t>(i)];
        for (int row = 0; row < cellHeight; ++row) {
            std::memcpy(&frame.pixels[static_cast<std::size_t>(row) * cellWidth],
                        &picture.pixels[static_cast<std::size_t>(top + row) * picture.width + left],
                        sizeof(std::uint32_t) * static_cast<std::size_t>(cellWidth));
        }
    }
    setMasked(*image);
    return image;
}

std::shared_ptr<TImage> TImage::Create(int width, int height, int frameCount, int flags) {
    if (width <= 0 || height <= 0 || frameCount <= 0) return nullptr;
    auto image = makeImage(width, height, frameCount, flags);
    setMasked(*image);
    return image;
}

TPixmap* TImage::Lock(int frame, bool read, bool write) {
    if (frame < 0 || frame >= FrameCount()) return nullptr;
    TPixmap* pixmap = &pixmaps[static_cast<std::size_t>(frame)];
    if (write) pixmap->Touch(); // direct writes to pixels are seen by the next draw too
    return pixmap;
}

void SetImageAnchor(const std::shared_ptr<TImage>& image, float x, float y) {
    if (!image) return;
    image->handle_x = x;
    image->handle_y = y;
}

void CenterImageAnchor(const std::shared_ptr<TImage>& image) {
    if (!image) return;
    image->handle_x = static_cast<float>(image->width) * 0.5f;
    image->handle_y = static_cast<float>(image->height) * 0.5f;
}

bool DecodePng(const unsigned char* bytes, std::size_t size, TPixmap& out) {
    if (!bytes || size < 8) return false;
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes, size)) return false;
    // BGRA bytes in memory are ARGB 32-bit words on a little-endian machine.
    png.format = PNG_FORMAT_BGRA;
    if (png.width == 0 || png.height == 0 || png.width > 16384 || png.height > 16384) {
        png_image_free(&png);
        return false;
    }
    TPixmap pixmap(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!png_image_finish_read(&png, nullptr, pixmap.pixels.data(), 0, nullptr)) {
        png_image_free(&png);
        return false;
    }
    out = std::move(pixmap);
    return true;
}

bool WritePng(const std::string& path, const TPixmap& pixmap) {
    if (pixmap.width <= 0 || pixmap.height <= 0) return false;
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(pixmap.width);
    png.height = static_cast<png_uint_32>(pixmap.height);
    png.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&png, path.c_str(), 0, pixmap.pixels.data(), 0, nullptr) != 0;
}

bool EncodePng(const TPixmap& pixmap, std::vector<unsigned char>& out) {
    if (pixmap.width <= 0 || pixmap.height <= 0) return false;
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(pixmap.width);
    png.height = static_cast<png_uint_32>(pixmap.height);
    png.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, pixmap.pixels.data(), 0, nullptr)) return false;
    out.resize(size);
    return png_image_write_to_memory(&png, out.data(), &size, 0, pixmap.pixels.data(), 0, nullptr) != 0;
}

namespace engine_detail {

SDL_Texture* FrameTexture(TImage& image, int frame) {
    auto& p = platform();
    if (!p.renderer || frame < 0 || frame >= image.FrameCount()) return nullptr;
    if (image.frames.size() != image.pixmaps.size()) image.frames.resize(image.pixmaps.size());
    TImageFrame& slot = image.frames[static_cast<std::size_t>(frame)];
    TPixmap& pixmap = image.pixmaps[static_cast<std::size_t>(frame)];
    if (pixmap.width <= 0 || pixmap.height <= 0) return nullptr;
    if (slot.texture && slot.generation == p.generation) {
        if (slot.pixmapVersion != pixmap.version) {
            SDL_UpdateTexture(slot.texture, nullptr, pixmap.pixels.data(), pixmap.width * 4);
            slot.pixmapVersion = pixmap.version;
        }
        return slot.texture;
    }
    slot.release();
    SDL_Texture* texture = SDL_CreateTexture(p.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                             pixmap.width, pixmap.height);
    if (!texture) return nullptr;
    SDL_UpdateTexture(texture, nullptr, pixmap.pixels.data(), pixmap.width * 4);
    SDL_SetTextureScaleMode(texture,
                            (image.flags & IMAGE_FILTERED) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    slot.texture = texture;
    slot.generation = p.generation;
    slot.pixmapVersion = pixmap.version;
    return texture;
}

} // namespace engine_detail

#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_Texture;

// Image flags.
constexpr int IMAGE_MASKED = 1;   // pixels of the mask colour (black) become fully transparent when set
constexpr int IMAGE_FILTERED = 2; // bilinear sampling instead of nearest
constexpr int IMAGE_MIPMAPPED = 4;
constexpr int IMAGE_DYNAMIC = 8; // pixels may be rewritten after creation

// A rectangle of 32-bit ARGB pixels (alpha in the top byte).
class TPixmap {
  public:
    TPixmap() = default;
    TPixmap(int width, int height);

    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // row-major, width * height
    bool masked = false;               // writes of black become fully transparent
    std::uint64_t version = 0;         // bumped by every write, so a drawn texture knows to refresh

    // Outside the pixmap: ReadPixel answers 0 and WritePixel does nothing.
    std::uint32_t ReadPixel(int x, int y) const;
    void WritePixel(int x, int y, std::uint32_t argb);
    // Marks the pixels as changed after writing to `pixels` directly.
    void Touch() { ++version; }
};

// The drawable texture of one frame, made from its pixmap when the frame is first drawn and made again
// when the renderer has been re-created since (generation) or the pixmap changed (version).
class TImageFrame {
  public:
    TImageFrame() = default;
    ~TImageFrame();
    TImageFrame(TImageFrame&& other) noexcept;
    TImageFrame& operator=(TImageFrame&& other) noexcept;
    TImageFrame(const TImageFrame&) = delete;
    TImageFrame& operator=(const TImageFrame&) = delete;

    SDL_Texture* texture = nullptr;
    int generation = -1;
    std::uint64_t pixmapVersion = 0;

    void release();
};

// An image of one or more frames of equal size.
class TImage {
  public:
    int width = 0;  // one frame
    int height = 0; // one frame
    int flags = 0;
    float handle_x = 0; // the point of the frame that lands on the drawing position
    float handle_y = 0;
    std::vector<TImageFrame> frames;
    std::vector<TPixmap> pixmaps;

    // One frame of the whole picture (PNG), or null when the path cannot be opened or decoded.
    static std::shared_ptr<TImage> Load(const std::string& path, int flags = 0);
    // Frames are cells of cellWidth x cellHeight cut left to right, then top to bottom, starting at cell
    // firstCell. Null on failure, or when the picture holds fewer cells than asked for.
    static std::shared_ptr<TImage> LoadAnim(const std::string& path, int cellWidth, int cellHeight,
                                            int firstCell, int cellCount, int flags = 0);
    // A blank (transparent) image; null when a size or the frame count is not positive.
    static std::shared_ptr<TImage> Create(int width, int height, int frameCount = 1, int flags = 0);
    // Pixels of a frame for ReadPixel/WritePixel; null when the frame is out of range.
    TPixmap* Lock(int frame, bool read = true, bool write = true);
    void Unlock(int /*frame*/) {}

    int FrameCount() const { return static_cast<int>(pixmaps.size()); }
};

void SetImageAnchor(const std::shared_ptr<TImage>& image, float x, float y);
// Handle at (width * 0.5, height * 0.5).
void CenterImageAnchor(const std::shared_ptr<TImage>& image);

// Decodes a PNG held in memory into ARGB pixels; false on any error.
bool DecodePng(const unsigned char* bytes, std::size_t size, TPixmap& out);
// Writes ARGB pixels as a PNG file; false on failure.
bool WritePng(const std::string& path, const TPixmap& pixmap);
// Encodes ARGB pixels as PNG bytes; false on failure.
bool EncodePng(const TPixmap& pixmap, std::vector<unsigned char>& out);

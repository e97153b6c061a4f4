#include "engine_test_support.h"

namespace {
// A 6x4 picture of 2x2 cells, cell n filled with the colour 0xFF0000nn (n = 0..5, left to right, top down).
std::vector<unsigned char> cellSheet() {
    TPixmap sheet(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            sheet.WritePixel(x, y, 0xFF000000u | ((y / 2) * 3 + x / 2));
    return pngBytes(sheet);
}
} // namespace

TEST(Image, LoadKeepsPixelsAndAlpha) {
    TPixmap picture(3, 2);
    picture.WritePixel(0, 0, 0x80FF0000);
    picture.WritePixel(2, 1, 0xFF00FF00);
    auto bytes = pngBytes(picture);
    RegisterResource("Test\\picture.png", bytes.data(), bytes.size());
    auto image = TImage::Load("incbin::Test\\picture.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->FrameCount(), 1);
    EXPECT_EQ(image->Lock(0)->ReadPixel(0, 0), 0x80FF0000u);
    EXPECT_EQ(image->Lock(0)->ReadPixel(2, 1), 0xFF00FF00u);
    EXPECT_EQ(image->Lock(0)->ReadPixel(1, 0), 0u);
    EXPECT_EQ(image->Lock(0)->ReadPixel(3, 0), 0u); // outside
    EXPECT_EQ(image->handle_x, 0);
    UnregisterResource("Test\\picture.png");
}

TEST(Image, LoadAnimCutsCellsLeftToRightThenDownFromFirstCell) {
    auto bytes = cellSheet();
    RegisterResource("Test\\sheet.png", bytes.data(), bytes.size());
    auto image = TImage::LoadAnim("incbin::Test\\sheet.png", 2, 2, 2, 3, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    ASSERT_EQ(image->FrameCount(), 3);
    EXPECT_EQ(image->Lock(0)->ReadPixel(1, 1), 0xFF000002u);
    EXPECT_EQ(image->Lock(1)->ReadPixel(0, 0), 0xFF000003u); // wraps to the second row
    EXPECT_EQ(image->Lock(2)->ReadPixel(1, 0), 0xFF000004u);
    // More cells than the picture holds, or nonsense sizes: null.
    EXPECT_EQ(TImage::LoadAnim("incbin::Test\\sheet.png", 2, 2, 4, 3, 0), nullptr);
    EXPECT_EQ(TImage::LoadAnim("incbin::Test\\sheet.png", 0, 2, 0, 1, 0), nullptr);
    EXPECT_EQ(TImage::LoadAnim("incbin::Test\\sheet.png", 7, 2, 0, 1, 0), nullptr);
    UnregisterResource("Test\\sheet.png");
}

TEST(Image, MissingTruncatedOrGarbagePngGivesNull) {
    auto bytes = cellSheet();
    std::vector<unsigned char> truncated(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
    std::vector<unsigned char> header(bytes.begin(), bytes.begin() + 8);
    std::vector<unsigned char> garbage(300);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<unsigned char>(i * 37 + 11);
    RegisterResource("Test\\truncated.png", truncated.data(), truncated.size());
    RegisterResource("Test\\header.png", header.data(), header.size());
    RegisterResource("Test\\garbage.png", garbage.data(), garbage.size());
    RegisterResource("Test\\empty.png", nullptr, 0);
    for (const char* path :
         {"incbin::Test\\truncated.png", "incbin::Test\\header.png", "incbin::Test\\garbage.png",
          "incbin::Test\\empty.png", "incbin::Test\\absent.png", "no/such/file.png"}) {
        EXPECT_EQ(TImage::Load(path), nullptr) << path;
        EXPECT_EQ(TImage::LoadAnim(path, 2, 2, 0, 1, 0), nullptr) << path;
    }
    for (const char* name :
         {"Test\\truncated.png", "Test\\header.png", "Test\\garbage.png", "Test\\empty.png"})
        UnregisterResource(name);
}

TEST(Image, CreateLockAnchorsAndMask) {
    EXPECT_EQ(TImage::Create(0, 5, 1, 0), nullptr);
    EXPECT_EQ(TImage::Create(5, 5, 0, 0), nullptr);
    auto image = TImage::Create(5, 3, 2, IMAGE_DYNAMIC);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->FrameCount(), 2);
    TPixmap* frame = image->Lock(1, true, true);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->ReadPixel(4, 2), 0u); // blank is transparent
    frame->WritePixel(4, 2, 0xFF123456);
    frame->WritePixel(-1, 0, 0xFFFFFFFF); // outside: ignored
    frame->WritePixel(5, 0, 0xFFFFFFFF);
    EXPECT_EQ(image->Lock(1)->ReadPixel(4, 2), 0xFF123456u);
    EXPECT_EQ(image->Lock(0)->ReadPixel(4, 2), 0u);
    // The white silhouette of a hit flash: source OR 0x00FFFFFF keeps the source's alpha.
    frame->WritePixel(0, 0, frame->ReadPixel(4, 2) | 0x00FFFFFF);
    EXPECT_EQ(frame->ReadPixel(0, 0), 0xFFFFFFFFu);
    frame->WritePixel(1, 0, frame->ReadPixel(3, 0) | 0x00FFFFFF);
    EXPECT_EQ(alphaOf(frame->ReadPixel(1, 0)), 0);

    SetImageAnchor(image, 2, 3);
    EXPECT_EQ(image->handle_x, 2);
    EXPECT_EQ(image->handle_y, 3);
    CenterImageAnchor(image);
    EXPECT_FLOAT_EQ(image->handle_x, 2.5f);
    EXPECT_FLOAT_EQ(image->handle_y, 1.5f);
    SetImageAnchor(nullptr, 1, 1); // harmless
    CenterImageAnchor(nullptr);

    auto masked = TImage::Create(2, 1, 1, IMAGE_MASKED | IMAGE_DYNAMIC);
    masked->Lock(0)->WritePixel(0, 0, 0xFF000000);
    masked->Lock(0)->WritePixel(1, 0, 0xFF010000);
    EXPECT_EQ(masked->Lock(0)->ReadPixel(0, 0), 0u);
    EXPECT_EQ(masked->Lock(0)->ReadPixel(1, 0), 0xFF010000u);
}

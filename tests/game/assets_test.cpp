#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "game/shell_test_support.h"

// The asset catalogue as the game's rules give it, written out here on its own so that a slip in the
// game's table (a path, a cell size, an anchor rule) shows up as a difference.
namespace {

struct Picture {
    const char* path;
    int pictureWidth, pictureHeight;
    int cellWidth, cellHeight, frames;
    float anchorX, anchorY;
};

const Picture kPictures[] = {
    {"incbin::Gfx\\siegeSuit\\siegeSuitWalking.png", 128, 23, 32, 23, 4, 16, 21},
    {"incbin::Gfx\\siegeSuit\\siegeSuitWalkLeft.png", 128, 23, 32, 23, 4, 16, 21},
    {"incbin::Gfx\\siegeSuit\\siegeSuitFlying.png", 64, 23, 32, 23, 2, 16, 21},
    {"incbin::Gfx\\siegeSuit\\suitShield.png", 128, 31, 32, 31, 4, 16, 24},
    {"incbin::Gfx\\siegeSuit\\egg.png", 731, 33, 43, 33, 17, 21, 25},
    {"incbin::Gfx\\tank.png", 29, 21, 29, 21, 1, 14, 20},
    {"incbin::Gfx\\buildings\\medTurret.png", 84, 23, 21, 23, 4, 10, 22},
    {"incbin::Gfx\\persons\\soldier.png", 14, 7, 7, 7, 2, 3, 6},
    {"incbin::Gfx\\persons\\civilian.png", 14, 7, 7, 7, 2, 3, 6},
    {"incbin::Gfx\\persons\\soldierGreen.png", 14, 7, 7, 7, 2, 3, 6},
    {"incbin::Gfx\\persons\\civilianGreen.png", 14, 7, 7, 7, 2, 3, 6},
    {"incbin::Gfx\\persons\\personDeath.png", 42, 7, 7, 7, 6, 3, 6},
    {"incbin::Gfx\\radarContacts.png", 28, 6, 7, 6, 4, 3, 6},
    {"incbin::Gfx\\aircraft\\duster\\dusterFront.png", 22, 13, 22, 13, 1, 11, 12},
    {"incbin::Gfx\\aircraft\\duster\\dusterSideways.png", 29, 13, 29, 13, 1, 14, 12},
    {"incbin::Gfx\\cow.png", 20, 7, 10, 7, 2, 5, 6},
    {"incbin::Gfx\\cowGreen.png", 20, 7, 10, 7, 2, 5, 6},
    {"incbin::Gfx\\buildings\\factory.png", 44, 28, 44, 28, 1, 22, 28},
    {"incbin::Gfx\\buildings\\barracks.png", 33, 21, 33, 21, 1, 16, 21},
    {"incbin::Gfx\\buildings\\homebase.png", 180, 40, 45, 40, 4, 22, 40},
    {"incbin::Gfx\\buildings\\homebaseFlying.png", 90, 40, 45, 40, 2, 22, 40},
    {"incbin::Gfx\\buildings\\airpad.png", 44, 28, 44, 28, 1, 22, 28},
    {"incbin::Gfx\\buildings\\house01.png", 33, 18, 33, 18, 1, 16, 18},
    {"incbin::Gfx\\buildings\\house02.png", 37, 21, 37, 21, 1, 18, 21},
    {"incbin::Gfx\\buildings\\house03.png", 34, 20, 34, 20, 1, 17, 20},
    {"incbin::Gfx\\buildings\\house04.png", 43, 19, 43, 19, 1, 21, 19},
    {"incbin::Gfx\\buildings\\airMineLauncher.png", 31, 25, 31, 25, 1, 15, 25},
    {"incbin::Gfx\\buildings\\lightTurret.png", 64, 11, 16, 11, 4, 8, 10},
    {"incbin::Gfx\\buildings\\heavyTurret.png", 108, 25, 27, 25, 4, 13, 25},
    {"incbin::Gfx\\abductoBeam.png", 3, 1, 3, 1, 1, 1, 0},
    {"incbin::Gfx\\abductionCage.png", 52, 13, 13, 13, 4, 6, 8},
    {"incbin::Gfx\\laser.png", 3, 1, 3, 1, 1, 1, 0},
    {"incbin::Gfx\\laserHit.png", 3, 3, 3, 3, 1, 1.5, 1.5},
    {"incbin::Gfx\\spinner.png", 20, 5, 5, 5, 4, 2, 2},
    {"incbin::Gfx\\tankShot.png", 5, 5, 5, 5, 1, 2.5, 2.5},
    {"incbin::Gfx\\tankShotHit.png", 33, 11, 11, 11, 3, 5.5, 5.5},
    {"incbin::Gfx\\photon.png", 5, 5, 5, 5, 1, 2.5, 2.5},
    {"incbin::Gfx\\photonGlow.png", 11, 11, 11, 11, 1, 5.5, 5.5},
    {"incbin::Gfx\\bullet.png", 3, 3, 3, 3, 1, 1.5, 1.5},
    {"incbin::Gfx\\bulletHit.png", 10, 5, 5, 5, 2, 2.5, 2.5},
    {"incbin::Gfx\\splash.png", 168, 13, 28, 13, 6, 14, 9},
    {"incbin::Gfx\\photonExplosion.png", 84, 15, 21, 15, 4, 10.5, 7.5},
    {"incbin::Gfx\\fooExplosion.png", 530, 36, 53, 36, 10, 26, 34},
    {"incbin::Gfx\\flakShot.png", 7, 5, 7, 5, 1, 7, 3},
    {"incbin::Gfx\\bigExplosion.png", 322, 46, 46, 46, 7, 23, 23},
    {"incbin::Gfx\\bigExplosionRad.png", 322, 46, 46, 46, 7, 23, 23},
    {"incbin::Gfx\\airMine.png", 75, 15, 15, 15, 5, 7.5, 7.5},
    {"incbin::Gfx\\radiationIndicator.png", 125, 25, 25, 25, 5, 12.5, 12.5},
    {"incbin::Gfx\\heart.png", 10, 8, 10, 8, 1, 5, 4},
    {"incbin::Gfx\\bileSpit.png", 4, 4, 4, 4, 1, 2, 2},
    {"incbin::Gfx\\background.png", 320, 240, 320, 240, 1, 0, 0},
    {"incbin::Gfx\\hud.png", 320, 240, 320, 240, 1, 0, 0},
    {"incbin::Gfx\\healthBars.png", 2, 1, 1, 1, 2, 0, 0},
    {"incbin::Gfx\\batteryBar.png", 2, 1, 1, 1, 2, 0, 0},
    {"incbin::Gfx\\flakExplosion.png", 200, 40, 40, 40, 5, 20, 20},
    {"incbin::Gfx\\flakExplosionRad.png", 200, 40, 40, 40, 5, 20, 20},
    {"incbin::Gfx\\matterBall.png", 20, 5, 5, 5, 4, 2.5, 2.5},
    {"incbin::Gfx\\matterBallGreen.png", 20, 5, 5, 5, 4, 2.5, 2.5},
    {"incbin::Gfx\\keyboard buttons\\pushXFlash.png", 22, 10, 11, 10, 2, 5.5, 5},
    {"incbin::Gfx\\keyboard buttons\\pushZFlash.png", 22, 10, 11, 10, 2, 5.5, 5},
    {"incbin::Gfx\\bgSet01\\bgSet01nr1.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet01\\bgSet01nr2.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet01\\bgSet01nr3.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet01\\bgSet01nr4.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet01\\bgSet01nr5.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet02\\bgSet02nr1.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet02\\bgSet02nr2.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet02\\bgSet02nr3.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet02\\bgSet02nr4.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet02\\bgSet02nr5.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet03\\bgSet03nr1.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet03\\bgSet03nr2.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet03\\bgSet03nr3.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet03\\bgSet03nr4.png", 64, 48, 64, 48, 1, 0, 0},
    {"incbin::Gfx\\bgSet03\\bgSet03nr5.png", 64, 48, 64, 48, 1, 0, 0},
};

struct LooseFile {
    const char* path;
    int width, height;
};

// Pictures that other parts of the game load when they need them.
const LooseFile kLooseFiles[] = {
    {"incbin::Gfx\\bosses\\supercopterBody.png", 153, 35},
    {"incbin::Gfx\\bosses\\supercopterEngine.png", 172, 39},
    {"incbin::Gfx\\retreating.png", 158, 50},
    {"incbin::Gfx\\winning.png", 158, 50},
    {"incbin::Gfx\\menu\\msgNotEnoughMatter.png", 57, 45},
    {"incbin::Gfx\\menu\\msgAlreadyPurchased.png", 57, 41},
    {"incbin::Gfx\\menu\\upgradeMenu\\upgradeMenuPage.png", 246, 159},
    {"incbin::Gfx\\menu\\upgradeMenu\\cursor.png", 25, 14},
    {"incbin::Gfx\\menu\\upgradeMenu\\upgButtonLaser.png", 54, 27},
    {"incbin::Gfx\\menu\\upgradeMenu\\upgButtonPhoton.png", 54, 27},
    {"incbin::Gfx\\menu\\upgradeMenu\\upgButtonFlak.png", 54, 27},
    {"incbin::Gfx\\menu\\upgradeMenu\\upgButtonShield.png", 54, 27},
    {"incbin::Gfx\\menu\\upgradeMenu\\upgButtonSpaceWarp.png", 54, 27},
    {"incbin::Gfx\\map\\mapLayout.png", 320, 240},
    {"incbin::Gfx\\map\\dazozuzo.png", 26, 10},
    {"incbin::Gfx\\map\\missionNode.png", 7, 7},
    {"incbin::Gfx\\map\\missionNodeLocked.png", 7, 7},
    {"incbin::Gfx\\blackScreen.png", 320, 240},
    {"incbin::outro\\outroText.png", 320, 240},
    {"incbin::trellan01.png", 30, 16},
    {"incbin::trellan02.png", 30, 16},
    {"incbin::trellan03.png", 26, 10},
    {"incbin::trellan04.png", 26, 10},
    {"incbin::nukeMissile.png", 11, 18},
    {"incbin::whitePixel.png", 320, 240},
    {"incbin::star.png", 1, 1},
    {"incbin::title.png", 235, 56},
};

struct Sound {
    const char* path;
    int channels;
    bool loops;
};

const Sound kSounds[] = {
    {"incbin::abducted.ogg", 1, false},       {"incbin::select.ogg", 1, false},
    {"incbin::photon.ogg", 1, false},         {"incbin::photonHit.ogg", 1, false},
    {"incbin::shieldHit.ogg", 1, false},      {"incbin::flak.ogg", 1, false},
    {"incbin::flakExplosion.ogg", 1, false},  {"incbin::explode.ogg", 1, false},
    {"incbin::tinyBleep.ogg", 1, false},      {"incbin::bullet.ogg", 1, false},
    {"incbin::lowPew.ogg", 1, false},         {"incbin::splat.ogg", 1, false},
    {"incbin::fooDestroyed.ogg", 1, false},   {"incbin::eggHatching.ogg", 1, false},
    {"incbin::tankBullet.ogg", 1, false},     {"incbin::spaceWarp.ogg", 1, false},
    {"incbin::error.ogg", 1, false},          {"incbin::fooDamaged.ogg", 1, false},
    {"incbin::introExplosion.ogg", 2, false}, {"incbin::introMissileLaunch.ogg", 2, false},
    {"incbin::abductorLoop.ogg", 1, true},    {"incbin::laserLoop.ogg", 1, true},
    {"incbin::shieldLoop.ogg", 1, true},      {"incbin::dazozuzoFlying.ogg", 1, true},
    {"incbin::marchOfSadness.ogg", 2, false}, {"incbin::introsong.ogg", 2, false},
};

// Channel count and sample rate from an OGG Vorbis stream's identification header.
bool vorbisFormat(const ResourceData& data, int& channels, long& rate) {
    const unsigned char* bytes = data.bytes;
    for (std::size_t i = 0; i + 16 < data.size && i < 200; ++i) {
        if (bytes[i] == 1 && std::memcmp(bytes + i + 1, "vorbis", 6) == 0) {
            channels = bytes[i + 11];
            rate = bytes[i + 12] | (bytes[i + 13] << 8) | (bytes[i + 14] << 16) | (long(bytes[i + 15]) << 24);
            return true;
        }
    }
    return false;
}

class CatalogueTest : public ShellTest {};

TEST_F(CatalogueTest, EveryPictureHasItsSizeCellsAndAnchor) {
    ASSERT_EQ(imageCatalogue().size(), std::size(kPictures));
    for (std::size_t i = 0; i < std::size(kPictures); ++i) {
        const Picture& expected = kPictures[i];
        const ImageEntry& entry = imageCatalogue()[i];
        SCOPED_TRACE(expected.path);
        EXPECT_STREQ(entry.path, expected.path) << "catalogue order";
        const auto whole = TImage::Load(expected.path);
        ASSERT_TRUE(whole) << "not embedded or not a PNG";
        EXPECT_EQ(whole->width, expected.pictureWidth);
        EXPECT_EQ(whole->height, expected.pictureHeight);
        EXPECT_EQ(expected.pictureWidth % expected.cellWidth, 0);
        EXPECT_EQ(expected.pictureWidth / expected.cellWidth, expected.frames);
        EXPECT_EQ(expected.pictureHeight, expected.cellHeight);
        const auto& handle = *entry.handle;
        ASSERT_TRUE(handle);
        EXPECT_EQ(handle->width, expected.cellWidth);
        EXPECT_EQ(handle->height, expected.cellHeight);
        EXPECT_EQ(handle->FrameCount(), expected.frames);
        EXPECT_EQ(handle->flags, 0);
        EXPECT_FLOAT_EQ(handle->handle_x, expected.anchorX);
        EXPECT_FLOAT_EQ(handle->handle_y, expected.anchorY);
    }
}

TEST_F(CatalogueTest, PicturesLoadedLaterAreEmbeddedAtTheirSizes) {
    for (const LooseFile& file : kLooseFiles) {
        SCOPED_TRACE(file.path);
        const auto image = TImage::Load(file.path);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, file.width);
        EXPECT_EQ(image->height, file.height);
    }
    EXPECT_TRUE(LoadFont("incbin::Font\\super_effective.ttf", 8, 0));
}

TEST_F(CatalogueTest, EverySoundDecodesWithItsChannelsRateAndLoopFlag) {
    std::set<const void*> catalogued;
    for (const SoundEntry& entry : soundCatalogue())
        catalogued.insert(entry.handle);
    EXPECT_EQ(catalogued.size(), 24u);
    for (const Sound& expected : kSounds) {
        SCOPED_TRACE(expected.path);
        const ResourceData data = OpenResource(expected.path);
        ASSERT_TRUE(data);
        int channels = 0;
        long rate = 0;
        ASSERT_TRUE(vorbisFormat(data, channels, rate));
        EXPECT_EQ(channels, expected.channels);
        EXPECT_EQ(rate, 44100);
        const auto sound = TSound::Load(expected.path, expected.loops ? SOUND_LOOP : 0);
        ASSERT_TRUE(sound);
        EXPECT_EQ(sound->channels, expected.channels);
        EXPECT_GT(sound->FrameCount(), 0);
    }
    for (const SoundEntry& entry : soundCatalogue()) {
        SCOPED_TRACE(entry.path);
        ASSERT_TRUE(*entry.handle);
        const bool loops = std::strstr(entry.path, "Loop") || std::strstr(entry.path, "dazozuzoFlying");
        EXPECT_EQ((*entry.handle)->loop, loops);
    }
}

TEST_F(CatalogueTest, StartUpLeavesTheDrawingDefaults) {
    const DrawingState& state = GetDrawingState();
    EXPECT_EQ(state.color_red, 255);
    EXPECT_EQ(state.color_green, 255);
    EXPECT_EQ(state.color_blue, 255);
    EXPECT_EQ((std::vector<int>{colours::defaultR, colours::defaultG, colours::defaultB}),
              (std::vector<int>{255, 255, 255}));
    EXPECT_FLOAT_EQ(state.tform_scale_x, 2);
    EXPECT_FLOAT_EQ(state.tform_scale_y, 2);
    EXPECT_EQ(state.blend_mode, BLEND_ALPHA);
    ASSERT_TRUE(state.image_font);
    EXPECT_EQ(state.image_font->Size(), 8);
}

TEST(BackgroundSets, IndexWithinTheSetNeverABlockCode) {
    EXPECT_EQ(bgSet02::getImageFromIndex(5), nullptr);
    EXPECT_EQ(bgSet01::getImageFromIndex(-1), nullptr);
    EXPECT_EQ(bgSet03::getImageFromIndex(0), bgSet03::img1);
    EXPECT_EQ(bgSet03::getImageFromIndex(4), bgSet03::img5);
    EXPECT_EQ((std::vector<int>{bgSet01::setNumber, bgSet02::setNumber, bgSet03::setNumber}),
              (std::vector<int>{0, 1, 2}));
}

TEST(BackgroundSets, RandomCodesStayInTheirOwnSet) {
    SeedRandom(99);
    std::set<int> seen[3];
    for (int i = 0; i < 2000; ++i) {
        seen[0].insert(bgSet01::getRandomIndex());
        seen[1].insert(bgSet02::getRandomIndex());
        seen[2].insert(bgSet03::getRandomIndex());
    }
    for (int set = 0; set < 3; ++set) {
        std::set<int> all;
        for (int code = 5 * set; code < 5 * set + 5; ++code)
            all.insert(code);
        EXPECT_EQ(seen[set], all) << "set " << set;
    }
}

} // namespace

#include "game/assets.h"

#include "engine/engine.h"

namespace {

const std::vector<ImageEntry> kImages = {
    {&gfx::siegeSuitWalking, "incbin::Gfx\\siegeSuit\\siegeSuitWalking.png", true, 32, 23, 4,
     Anchor::bottomCentre(2)},
    {&gfx::siegeSuitWalkLeft, "incbin::Gfx\\siegeSuit\\siegeSuitWalkLeft.png", true, 32, 23, 4,
     Anchor::bottomCentre(2)},
    {&gfx::siegeSuitFlying, "incbin::Gfx\\siegeSuit\\siegeSuitFlying.png", true, 32, 23, 2,
     Anchor::bottomCentre(2)},
    {&gfx::suitShield, "incbin::Gfx\\siegeSuit\\suitShield.png", true, 32, 31, 4, Anchor::bottomCentre(7)},
    {&gfx::egg, "incbin::Gfx\\siegeSuit\\egg.png", true, 43, 33, 17, Anchor::bottomCentre(8)},
    {&gfx::tank, "incbin::Gfx\\tank.png", false, 29, 21, 1, Anchor::bottomCentre(1)},
    {&gfx::medTurret, "incbin::Gfx\\buildings\\medTurret.png", true, 21, 23, 4, Anchor::bottomCentre(1)},
    {&gfx::soldier, "incbin::Gfx\\persons\\soldier.png", true, 7, 7, 2, Anchor::bottomCentre(1)},
    {&gfx::civilian, "incbin::Gfx\\persons\\civilian.png", true, 7, 7, 2, Anchor::bottomCentre(1)},
    {&gfx::soldierGreen, "incbin::Gfx\\persons\\soldierGreen.png", true, 7, 7, 2, Anchor::bottomCentre(1)},
    {&gfx::civilianGreen, "incbin::Gfx\\persons\\civilianGreen.png", true, 7, 7, 2, Anchor::bottomCentre(1)},
    {&gfx::personDeath, "incbin::Gfx\\persons\\personDeath.png", true, 7, 7, 6, Anchor::bottomCentre(1)},
    {&gfx::radarContacts, "incbin::Gfx\\radarContacts.png", true, 7, 6, 4, Anchor::bottomCentre(0)},
    {&gfx::dusterFront, "incbin::Gfx\\aircraft\\duster\\dusterFront.png", false, 22, 13, 1,
     Anchor::bottomCentre(1)},
    {&gfx::dusterSideways, "incbin::Gfx\\aircraft\\duster\\dusterSideways.png", false, 29, 13, 1,
     Anchor::bottomCentre(1)},
    {&gfx::cow, "incbin::Gfx\\cow.png", true, 10, 7, 2, Anchor::bottomCentre(1)},
    {&gfx::cowGreen, "incbin::Gfx\\cowGreen.png", true, 10, 7, 2, Anchor::bottomCentre(1)},
    {&gfx::factory, "incbin::Gfx\\buildings\\factory.png", false, 44, 28, 1, Anchor::bottomCentre(0)},
    {&gfx::barracks, "incbin::Gfx\\buildings\\barracks.png", false, 33, 21, 1, Anchor::bottomCentre(0)},
    {&gfx::homebase, "incbin::Gfx\\buildings\\homebase.png", true, 45, 40, 4, Anchor::bottomCentre(0)},
    {&gfx::homebaseFlying, "incbin::Gfx\\buildings\\homebaseFlying.png", true, 45, 40, 2,
     Anchor::bottomCentre(0)},
    {&gfx::airpad, "incbin::Gfx\\buildings\\airpad.png", false, 44, 28, 1, Anchor::bottomCentre(0)},
    {&gfx::house01, "incbin::Gfx\\buildings\\house01.png", false, 33, 18, 1, Anchor::bottomCentre(0)},
    {&gfx::house02, "incbin::Gfx\\buildings\\house02.png", false, 37, 21, 1, Anchor::bottomCentre(0)},
    {&gfx::house03, "incbin::Gfx\\buildings\\house03.png", false, 34, 20, 1, Anchor::bottomCentre(0)},
    {&gfx::house04, "incbin::Gfx\\buildings\\house04.png", false, 43, 19, 1, Anchor::bottomCentre(0)},
    {&gfx::airMineLauncher, "incbin::Gfx\\buildings\\airMineLauncher.png", false, 31, 25, 1,
     Anchor::bottomCentre(0)},
    {&gfx::lightTurret, "incbin::Gfx\\buildings\\lightTurret.png", true, 16, 11, 4, Anchor::bottomCentre(1)},
    {&gfx::heavyTurret, "incbin::Gfx\\buildings\\heavyTurret.png", true, 27, 25, 4, Anchor::bottomCentre(0)},
    {&gfx::abductoBeam, "incbin::Gfx\\abductoBeam.png", false, 3, 1, 1, Anchor::fixed(1, 0)},
    {&gfx::abductionCage, "incbin::Gfx\\abductionCage.png", true, 13, 13, 4, Anchor::middle(2)},
    {&gfx::laser, "incbin::Gfx\\laser.png", false, 3, 1, 1, Anchor::fixed(1, 0)},
    {&gfx::laserHit, "incbin::Gfx\\laserHit.png", false, 3, 3, 1, Anchor::centre()},
    {&gfx::spinner, "incbin::Gfx\\spinner.png", true, 5, 5, 4, Anchor::middle(0)},
    {&gfx::tankShot, "incbin::Gfx\\tankShot.png", false, 5, 5, 1, Anchor::centre()},
    {&gfx::tankShotHit, "incbin::Gfx\\tankShotHit.png", true, 11, 11, 3, Anchor::centre()},
    {&gfx::photon, "incbin::Gfx\\photon.png", false, 5, 5, 1, Anchor::centre()},
    {&gfx::photonGlow, "incbin::Gfx\\photonGlow.png", false, 11, 11, 1, Anchor::centre()},
    {&gfx::bullet, "incbin::Gfx\\bullet.png", false, 3, 3, 1, Anchor::centre()},
    {&gfx::bulletHit, "incbin::Gfx\\bulletHit.png", true, 5, 5, 2, Anchor::centre()},
    {&gfx::splash, "incbin::Gfx\\splash.png", true, 28, 13, 6, Anchor::bottomCentre(4)},
    {&gfx::photonExplosion, "incbin::Gfx\\photonExplosion.png", true, 21, 15, 4, Anchor::centre()},
    {&gfx::fooExplosion, "incbin::Gfx\\fooExplosion.png", true, 53, 36, 10, Anchor::bottomCentre(2)},
    {&gfx::flakShot, "incbin::Gfx\\flakShot.png", false, 7, 5, 1, Anchor::fixed(7, 3)},
    {&gfx::bigExplosion, "incbin::Gfx\\bigExplosion.png", true, 46, 46, 7, Anchor::centre()},
    {&gfx::bigExplosionRad, "incbin::Gfx\\bigExplosionRad.png", true, 46, 46, 7, Anchor::centre()},
    {&gfx::airMine, "incbin::Gfx\\airMine.png", true, 15, 15, 5, Anchor::centre()},
    {&gfx::radiationIndicator, "incbin::Gfx\\radiationIndicator.png", true, 25, 25, 5, Anchor::centre()},
    {&gfx::heart, "incbin::Gfx\\heart.png", false, 10, 8, 1, Anchor::centre()},
    {&gfx::bileSpit, "incbin::Gfx\\bileSpit.png", false, 4, 4, 1, Anchor::centre()},
    {&gfx::background, "incbin::Gfx\\background.png", false, 320, 240, 1, Anchor::fixed(0, 0)},
    {&gfx::hud, "incbin::Gfx\\hud.png", false, 320, 240, 1, Anchor::fixed(0, 0)},
    {&gfx::healthBars, "incbin::Gfx\\healthBars.png", true, 1, 1, 2, Anchor::fixed(0, 0)},
    {&gfx::batteryBar, "incbin::Gfx\\batteryBar.png", true, 1, 1, 2, Anchor::fixed(0, 0)},
    {&gfx::flakExplosion, "incbin::Gfx\\flakExplosion.png", true, 40, 40, 5, Anchor::centre()},
    {&gfx::flakExplosionRad, "incbin::Gfx\\flakExplosionRad.png", true, 40, 40, 5, Anchor::centre()},
    {&gfx::matterBall, "incbin::Gfx\\matterBall.png", true, 5, 5, 4, Anchor::centre()},
    {&gfx::matterBallGreen, "incbin::Gfx\\matterBallGreen.png", true, 5, 5, 4, Anchor::centre()},
    {&gfx::pushXFlash, "incbin::Gfx\\keyboard buttons\\pushXFlash.png", true, 11, 10, 2, Anchor::centre()},
    {&gfx::pushZFlash, "incbin::Gfx\\keyboard buttons\\pushZFlash.png", true, 11, 10, 2, Anchor::centre()},
    {&bgSet01::img1, "incbin::Gfx\\bgSet01\\bgSet01nr1.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet01::img2, "incbin::Gfx\\bgSet01\\bgSet01nr2.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet01::img3, "incbin::Gfx\\bgSet01\\bgSet01nr3.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet01::img4, "incbin::Gfx\\bgSet01\\bgSet01nr4.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet01::img5, "incbin::Gfx\\bgSet01\\bgSet01nr5.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet02::img1, "incbin::Gfx\\bgSet02\\bgSet02nr1.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet02::img2, "incbin::Gfx\\bgSet02\\bgSet02nr2.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet02::img3, "incbin::Gfx\\bgSet02\\bgSet02nr3.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet02::img4, "incbin::Gfx\\bgSet02\\bgSet02nr4.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet02::img5, "incbin::Gfx\\bgSet02\\bgSet02nr5.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet03::img1, "incbin::Gfx\\bgSet03\\bgSet03nr1.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet03::img2, "incbin::Gfx\\bgSet03\\bgSet03nr2.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet03::img3, "incbin::Gfx\\bgSet03\\bgSet03nr3.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet03::img4, "incbin::Gfx\\bgSet03\\bgSet03nr4.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
    {&bgSet03::img5, "incbin::Gfx\\bgSet03\\bgSet03nr5.png", false, 64, 48, 1, Anchor::fixed(0, 0)},
};

const std::vector<SoundEntry> kSounds = {
    {&tSfx::abducted, "incbin::abducted.ogg", 0, 1},
    {&tSfx::select, "incbin::select.ogg", 0, 1},
    {&tSfx::photon, "incbin::photon.ogg", 0, 1},
    {&tSfx::photonHit, "incbin::photonHit.ogg", 0, 1},
    {&tSfx::shieldHit, "incbin::shieldHit.ogg", 0, 1},
    {&tSfx::flak, "incbin::flak.ogg", 0, 1},
    {&tSfx::flakExplosion, "incbin::flakExplosion.ogg", 0, 1},
    {&tSfx::explode, "incbin::explode.ogg", 0, 1},
    {&tSfx::tinyBleep, "incbin::tinyBleep.ogg", 0, 1},
    {&tSfx::bullet, "incbin::bullet.ogg", 0, 1},
    {&tSfx::lowPew, "incbin::lowPew.ogg", 0, 1},
    {&tSfx::splat, "incbin::splat.ogg", 0, 1},
    {&tSfx::fooDestroyed, "incbin::fooDestroyed.ogg", 0, 1},
    {&tSfx::eggHatching, "incbin::eggHatching.ogg", 0, 1},
    {&tSfx::tankBullet, "incbin::tankBullet.ogg", 0, 1},
    {&tSfx::spaceWarp, "incbin::spaceWarp.ogg", 0, 1},
    {&tSfx::error, "incbin::error.ogg", 0, 1},
    {&tSfx::fooDamaged, "incbin::fooDamaged.ogg", 0, 1},
    {&tSfx::introExplosion, "incbin::introExplosion.ogg", 0, 2},
    {&tSfx::introMissileLaunch, "incbin::introMissileLaunch.ogg", 0, 2},
    {&tSfx::abductorLoop, "incbin::abductorLoop.ogg", 1, 1},
    {&tSfx::laserLoop, "incbin::laserLoop.ogg", 1, 1},
    {&tSfx::shieldLoop, "incbin::shieldLoop.ogg", 1, 1},
    {&tSfx::dazozuzoFlying, "incbin::dazozuzoFlying.ogg", 1, 1},
};

ImageHandle pictureOfSet(int index, const ImageHandle& i1, const ImageHandle& i2, const ImageHandle& i3,
                         const ImageHandle& i4, const ImageHandle& i5) {
    switch (index) {
    case 0:
        return i1;
    case 1:
        return i2;
    case 2:
        return i3;
    case 3:
        return i4;
    case 4:
        return i5;
    default:
        return nullptr;
    }
}

void applyAnchor(const ImageHandle& image, const Anchor& anchor) {
    if (!image) return;
    const int w = image->width;
    const int h = image->height;
    switch (anchor.rule) {
    case Anchor::Rule::Fixed:
        SetImageAnchor(image, anchor.x, anchor.y);
        break;
    case Anchor::Rule::BottomCentre:
        SetImageAnchor(image, static_cast<float>(w / 2), static_cast<float>(h - anchor.k));
        break;
    case Anchor::Rule::Middle:
        SetImageAnchor(image, static_cast<float>(w / 2), static_cast<float>(h / 2 + anchor.k));
        break;
    case Anchor::Rule::Centre:
        CenterImageAnchor(image);
        break;
    }
}

} // namespace

const std::vector<ImageEntry>& imageCatalogue() {
    return kImages;
}
const std::vector<SoundEntry>& soundCatalogue() {
    return kSounds;
}

ImageHandle bgSet01::getImageFromIndex(int index) {
    return pictureOfSet(index, img1, img2, img3, img4, img5);
}
ImageHandle bgSet02::getImageFromIndex(int index) {
    return pictureOfSet(index, img1, img2, img3, img4, img5);
}
ImageHandle bgSet03::getImageFromIndex(int index) {
    return pictureOfSet(index, img1, img2, img3, img4, img5);
}

int bgSet01::getRandomIndex() {
    return RandomInt(0, 4);
}
int bgSet02::getRandomIndex() {
    return RandomInt(5, 9);
}
int bgSet03::getRandomIndex() {
    return RandomInt(10, 14);
}

void loadAssets() {
    for (const ImageEntry& entry : kImages) {
        *entry.handle =
            entry.anim ? TImage::LoadAnim(entry.path, entry.cellWidth, entry.cellHeight, 0, entry.frames, 0)
                       : TImage::Load(entry.path, 0);
    }
    for (const SoundEntry& entry : kSounds)
        *entry.handle = TSound::Load(entry.path, entry.flags);
}

void anchorAssets() {
    for (const ImageEntry& entry : kImages)
        applyAnchor(*entry.handle, entry.anchor);
}

void releaseAssets() {
    for (const ImageEntry& entry : kImages)
        entry.handle->reset();
    for (const SoundEntry& entry : kSounds)
        entry.handle->reset();
}

#include "sessions/session.h"

#include <zlib.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "campaign/persistence.h"
#include "engine/engine.h"
#include "game/constants.h"
#include "game/game_clock.h"
#include "game/program.h"
#include "hud/shake.h"
#include "settings/apply.h"
#include "world/level_builder.h"

#ifndef VEVU_VERSION
#error "VEVU_VERSION names the game's version (CMakeLists.txt)"
#endif

std::string GameVersion() {
    return VEVU_VERSION;
}

std::uint32_t AssetsHash() {
    static std::uint32_t hash = 0;
    static bool known = false;
    if (known) return hash;
    FillResourceTable();
    std::vector<std::string> names = ResourceNames();
    std::sort(names.begin(), names.end());
    hash = 2166136261u;
    auto add = [&](const unsigned char* bytes, std::size_t size) {
        hash = static_cast<std::uint32_t>(crc32(hash, bytes, static_cast<uInt>(size)));
    };
    for (const std::string& name : names) {
        // The window's icon is the desktop's business: it never appears in the game's picture. What only the
        // translations use (their catalogues and fonts, under Locale\) changes with every translation, and a
        // language changes no rule of the game; the English picture stays guarded by the frame hashes. The
        // pad's prompts are drawn only once a pad or the touch controls are used, and change no rule either.
        if (name.rfind("Icon\\", 0) == 0 || name.rfind("Locale\\", 0) == 0 || name == "Gfx\\prompts.png")
            continue;
        add(reinterpret_cast<const unsigned char*>(name.data()), name.size());
        const ResourceData data = OpenResource(kEmbeddedPrefix + name);
        if (data) add(data.bytes, data.size);
    }
    known = true;
    return hash;
}

std::string WhyNotPlayable(const SessionStart& start) {
    if (start.version != GameVersion())
        return "it was recorded by version " + start.version + " of the game and this is version " +
               GameVersion() + ": only the version that recorded it plays it the same";
    if (start.assets != AssetsHash()) {
        char hashes[64];
        std::snprintf(hashes, sizeof hashes, "assets %08x; this game's are %08x", start.assets, AssetsHash());
        return "it was recorded by version " + start.version + " with other pictures and sounds than this " +
               "version " + GameVersion() + " has (" + hashes + ")";
    }
    return "";
}

namespace {
std::string localDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}
} // namespace

SessionStart NewSessionStart(const CampaignRecord& campaign) {
    SessionStart start;
    start.version = GameVersion();
    start.assets = AssetsHash();
    // As the game seeds itself at start-up: from the clock, which differs from run to run.
    start.seed = Millis();
    start.date = localDate();
    start.campaign = campaign;
    if (tProgram::playerSettings) {
        start.pauseOnFocusLoss = tProgram::playerSettings->pauseOnFocusLoss;
        start.shake = tProgram::playerSettings->shake;
    }
    return start;
}

void ResetClassWideState() {
    tShake::xOffset = tShake::yOffset = 0;
    tShake::magnitude = tShake::decay = tShake::duration = 0;
    tShake::nextStepTime = 0;
    tShake::endTime = 0;
    Delta::frameSeconds = 0;
    Delta::lastMillis = 0;
    levelBuilder::houseImgIndex = 1; // a program starts its houses from the first picture
}

void BeginSessionProgram(const SessionStart& start, SessionUse use, const PlayerFilesHeld& held) {
    ResetClassWideState();
    ClearKeys();
    // The picture starts from the drawing state start-up leaves, whatever was drawn before.
    SetBlend(BLEND_ALPHA);
    SetDrawTransform(0, scale::SCALE_X, scale::SCALE_Y);
    SetOrigin(0, 0);
    SetAlpha(1);
    SetColor(colours::defaultR, colours::defaultG, colours::defaultB);
    SeedRandom(start.seed);
    theProgram = std::make_shared<tProgram>();
    const bool takesOver = use == SessionUse::Played && held.campaignFile;
    theProgram->init(use == SessionUse::Played && !takesOver);
    if (takesOver) {
        theProgram->campaignFile = held.campaignFile;
        theProgram->notice = held.notice;
    }
    if (use == SessionUse::Watched) {
        theProgram->watched = true;
        auto watched = std::make_shared<tSettings>(*theProgram->settings);
        watched->pauseOnFocusLoss = start.pauseOnFocusLoss;
        watched->shake = start.shake;
        theProgram->settings = watched;
        ApplyWatchedSettings(*watched);
    }
    tPersistence& record = *theProgram->worldData;
    for (int id = 0; id < tPersistence::kMissionCount; ++id)
        record.nodeLock[id] = start.campaign.nodeLock[static_cast<std::size_t>(id)] != 0 ? 1 : 0;
    record.unlockLaser = start.campaign.traits[0];
    record.unlockPhotons = start.campaign.traits[1];
    record.unlockFlak = start.campaign.traits[2];
    record.unlockShield = start.campaign.traits[3];
    record.unlockSpaceWarp = start.campaign.traits[4];
    // The map screen anew, its nodes showing the record in force (as after "Continue").
    theProgram->setGameState(gamestate::MAP, 0);
}

void EndWatchedSession() {
    // Only these were the session's: the window, the mixer and the keys stayed the viewer's throughout.
    ApplyWatchedSettings(tProgram::playerSettings ? *tProgram::playerSettings : tSettings{});
}

CampaignRecord CurrentCampaign() {
    CampaignRecord campaign;
    if (!theProgram || !theProgram->worldData) return campaign;
    const tPersistence& record = *theProgram->worldData;
    for (int id = 0; id < tPersistence::kMissionCount; ++id)
        campaign.nodeLock[static_cast<std::size_t>(id)] = record.nodeLock[id];
    campaign.traits = {record.unlockLaser, record.unlockPhotons, record.unlockFlak, record.unlockShield,
                       record.unlockSpaceWarp};
    return campaign;
}

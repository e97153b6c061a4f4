#include "campaign/campaign_file.h"

#include "campaign/persistence.h"
#include "engine/words.h"

const PlayerFile tCampaignFile::kFile{PlayerFileKind::Progress,     "campaign.sav",
                                      TrMark("The saved campaign"), TrMark("a new campaign"),
                                      tPersistence::kRecordVersion, true};
const PlayerFile tCampaignFile::kReplacedFile{PlayerFileKind::Progress,        "campaign-replaced.sav",
                                              TrMark("The replaced campaign"), TrMark("nothing"),
                                              tPersistence::kRecordVersion,    true};

bool tCampaignFile::load() {
    tPersistence record;
    savedBytes_ = record.encode();
    const LoadedFile loaded = PlayerFiles().load(kFile, [](std::string_view contents, std::uint32_t version) {
        tPersistence check;
        return check.decode(contents, version);
    });
    hasSaved_ = loaded.from != LoadedFile::From::Nothing;
    if (hasSaved_) savedBytes_ = loaded.contents;
    return hasSaved_;
}

int tCampaignFile::missionsWon() const {
    tPersistence record;
    return hasSaved_ && record.decode(savedBytes_, tPersistence::kRecordVersion).verdict == FileVerdict::Good
               ? record.missionsWon()
               : 0;
}

void tCampaignFile::continueInto(tPersistence& record) const {
    if (hasSaved_) record.decode(savedBytes_, tPersistence::kRecordVersion);
}

void tCampaignFile::startNew(const tPersistence& record) {
    if (hasSaved_) PlayerFiles().save(kReplacedFile, savedBytes_);
    savedBytes_ = record.encode();
    PlayerFiles().save(kFile, savedBytes_);
    hasSaved_ = true;
}

void tCampaignFile::saveIfChanged(const tPersistence& record) {
    std::string bytes = record.encode();
    if (bytes == savedBytes_) return;
    savedBytes_ = bytes;
    PlayerFiles().save(kFile, std::move(bytes));
    hasSaved_ = true;
}

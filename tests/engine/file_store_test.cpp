#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "driver/temporary_folder.h"
#include "engine/file_store.h"
#include "engine/utf8_paths.h"

namespace fs = std::filesystem;

namespace {

const PlayerFile kRecord{PlayerFileKind::Progress, "record.sav", "The saved record", "a new record", 2, true};

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// A store with two saves made: "first", then "second" (so the backup holds "first"). The folder also
// holds a file of the player's named in other scripts, which Windows' narrow names cannot hold.
const std::string kForeignName = "語-ж-é.txt";
struct SavedTwice {
    TemporaryFolder folder;
    TFileStore store{folder.path()};
    SavedTwice() {
        writeBytes(folder.path() / PathFromUtf8(kForeignName), "mine");
        EXPECT_EQ(store.load(kRecord).from,
                  LoadedFile::From::Nothing); // which looks for stale temporary files
        store.save(kRecord, "first");
        store.save(kRecord, "second");
        EXPECT_TRUE(store.flush());
        store.save(kRecord, "second"); // the backup is the previous good copy, whatever it held
        store.save(kRecord, "third");
        EXPECT_TRUE(store.flush());
    }
    fs::path main() const { return folder.path() / kRecord.name; }
    fs::path backup() const { return folder.path() / (kRecord.name + ".bak"); }
};

} // namespace

TEST(FileStore, RoundTripReplacesTheFileWholeAndKeepsThePreviousOneAsBackup) {
    SavedTwice saved;
    const LoadedFile loaded = saved.store.load(kRecord);
    EXPECT_EQ(loaded.from, LoadedFile::From::File);
    EXPECT_EQ(loaded.contents, "third");
    EXPECT_EQ(loaded.version, 2u);
    EXPECT_TRUE(loaded.notice.empty());
    EXPECT_EQ(UnframeFile(bytesOf(saved.backup()), 2).contents, "second");
    // The temporary files were renamed away: only the file and its backup are left.
    EXPECT_EQ(filesIn(saved.folder.path()),
              (std::vector<std::string>{"record.sav", "record.sav.bak", "vevu.lock", kForeignName}));
    EXPECT_TRUE(saved.store.takeNotices().empty());

    // A file named beyond ASCII is written under that very name, with its backup.
    const PlayerFile named{
        PlayerFileKind::Progress, "записи.sav", "The saved record", "a new record", 2, true};
    saved.store.save(named, "one");
    ASSERT_TRUE(saved.store.flush());
    saved.store.save(named, "two");
    ASSERT_TRUE(saved.store.flush());
    EXPECT_EQ(saved.store.load(named).contents, "two");
    EXPECT_EQ(UnframeFile(bytesOf(saved.folder.path() / PathFromUtf8("записи.sav.bak")), 2).contents, "one");
}

TEST(FileStore, NothingSavedLoadsNothingAndSaysNothing) {
    TemporaryFolder folder;
    TFileStore store(folder.path());
    const LoadedFile loaded = store.load(kRecord);
    EXPECT_EQ(loaded.from, LoadedFile::From::Nothing);
    EXPECT_TRUE(loaded.notice.empty());
    // A store with no folder (a headless program's) neither reads nor writes anything.
    TFileStore nowhere{fs::path()};
    nowhere.save(kRecord, "lost");
    EXPECT_TRUE(nowhere.flush());
    EXPECT_EQ(nowhere.load(kRecord).from, LoadedFile::From::Nothing);
    EXPECT_TRUE(nowhere.takeNotices().empty());
}

// Each way a file can go bad: the backup is used, the bad file stays as it is until the name is written
// again, and then it is set aside under a name that says so, byte for byte.
TEST(FileStore, ABadFileIsNeverOverwrittenTheBackupIsUsedAndTheFileSetAside) {
    const std::string good = FrameFile("third", 2);
    struct Damage {
        std::string name, bytes, says, asideName;
    };
    std::string flippedContents = good, flippedVersion = good;
    flippedContents.back() ^= 0x20;
    flippedVersion[8] ^= 0x01;
    const std::vector<Damage> damages = {
        {"cut short", good.substr(0, good.size() - 2), "damaged (it is cut short)", "record.sav.damaged"},
        {"header cut short", good.substr(0, 11), "damaged (it is cut short)", "record.sav.damaged"},
        {"flipped contents", flippedContents, "damaged (its checksum fails)", "record.sav.damaged"},
        {"flipped version", flippedVersion, "damaged (its checksum fails)", "record.sav.damaged"},
        {"empty", "", "damaged (it is empty)", "record.sav.damaged"},
        {"garbage",
         "\x7f"
         "ELF and so on",
         "damaged (it is not a file the game wrote)", "record.sav.damaged"},
        {"trailing bytes", good + "x", "damaged (it is longer than it says)", "record.sav.damaged"},
        {"newer", FrameFile("from the future", 3), "is from a newer version", "record.sav.newer-version"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        SavedTwice saved;
        writeBytes(saved.main(), damage.bytes);
        const LoadedFile loaded = saved.store.load(kRecord);
        EXPECT_EQ(loaded.from, LoadedFile::From::Backup);
        EXPECT_EQ(loaded.contents, "second");
        EXPECT_NE(loaded.notice.find(damage.says), std::string::npos) << loaded.notice;
        EXPECT_NE(loaded.notice.find("its backup is used, the file is kept"), std::string::npos)
            << loaded.notice;
        EXPECT_EQ(saved.store.takeNotices(), std::vector<std::string>{loaded.notice});
        EXPECT_EQ(bytesOf(saved.main()), damage.bytes) << "reading changes nothing";

        saved.store.save(kRecord, "fourth");
        ASSERT_TRUE(saved.store.flush());
        EXPECT_EQ(bytesOf(saved.folder.path() / damage.asideName), damage.bytes);
        EXPECT_EQ(saved.store.takeNotices(),
                  std::vector<std::string>{"record.sav was kept as " + damage.asideName});
        EXPECT_EQ(saved.store.load(kRecord).contents, "fourth");
        EXPECT_EQ(UnframeFile(bytesOf(saved.backup()), 2).contents, "second") << "the bad file is no backup";
    }
}

TEST(FileStore, WithoutAGoodBackupTheCallersDefaultsAndAFileSetAsideNeverReplacesAnother) {
    SavedTwice saved;
    writeBytes(saved.main(), "bad one");
    writeBytes(saved.backup(), "bad too");
    writeBytes(saved.folder.path() / "record.sav.damaged", "set aside before");
    // The contents' own check counts as much as the frame's.
    const ContentsCheck rejectAll = [](std::string_view, std::uint32_t) {
        return FileCheck::damaged("nonsense");
    };
    const LoadedFile loaded = saved.store.load(kRecord, rejectAll);
    EXPECT_EQ(loaded.from, LoadedFile::From::Nothing);
    EXPECT_TRUE(loaded.contents.empty());
    EXPECT_EQ(
        loaded.notice,
        "The saved record is damaged (it is not a file the game wrote): a new record, the file is kept");
    saved.store.save(kRecord, "fresh");
    ASSERT_TRUE(saved.store.flush());
    EXPECT_EQ(bytesOf(saved.folder.path() / "record.sav.damaged"), "set aside before");
    EXPECT_EQ(bytesOf(saved.folder.path() / "record.sav.damaged-2"), "bad one");
    // The bad backup is set aside too, never overwritten by the next backup.
    saved.store.save(kRecord, "fresher");
    ASSERT_TRUE(saved.store.flush());
    EXPECT_EQ(bytesOf(saved.folder.path() / "record.sav.bak.damaged"), "bad too");
    EXPECT_EQ(UnframeFile(bytesOf(saved.backup()), 2).contents, "fresh");
    EXPECT_EQ(saved.store
                  .load(kRecord,
                        [](std::string_view c, std::uint32_t) {
                            return c == "fresher" ? FileCheck::good() : FileCheck::damaged("?");
                        })
                  .contents,
              "fresher");
}

// A full disk, met halfway through the new file: the old file is untouched, no temporary file is left,
// one notice however often it happens, and the next save after the disk has room works.
TEST(FileStore, AFullDiskLeavesTheOldFileAndPlayGoesOn) {
    SavedTwice saved;
    const std::string before = bytesOf(saved.main());
    saved.store.injectWriteFault({ENOSPC, 10});
    for (int i = 0; i < 3; ++i)
        saved.store.save(kRecord, "fourth, too long for the disk " + std::to_string(i));
    ASSERT_TRUE(saved.store.flush());
    saved.store.save(kRecord, "fifth");
    ASSERT_TRUE(saved.store.flush());
    EXPECT_EQ(bytesOf(saved.main()), before);
    EXPECT_EQ(filesIn(saved.folder.path()),
              (std::vector<std::string>{"record.sav", "record.sav.bak", "vevu.lock", kForeignName}));
    const std::vector<std::string> notices = saved.store.takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("The saved record could not be saved"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("No space left on device"), std::string::npos) << notices[0];
    saved.store.injectWriteFault({});
    saved.store.save(kRecord, "sixth");
    EXPECT_EQ(saved.store.load(kRecord).contents, "sixth");
}

// Folders nobody can write, root included: one under a regular file, one in /proc. Nothing crashes,
// nothing is read, and each says so once.
TEST(FileStore, AFolderNobodyCanWriteCostsOneNotice) {
    TemporaryFolder folder;
    writeBytes(folder.path() / "plain-file", "x");
    std::vector<fs::path> unwritable = {folder.path() / "plain-file" / "saves"};
#ifndef _WIN32
    unwritable.push_back("/proc/vevu-saves");
#endif
    for (const fs::path& where : unwritable) {
        SCOPED_TRACE(where.string());
        TFileStore store(where);
        EXPECT_EQ(store.load(kRecord).from, LoadedFile::From::Nothing);
        store.save(kRecord, "one");
        store.save(kRecord, "two");
        ASSERT_TRUE(store.flush());
        store.save(kRecord, "three");
        ASSERT_TRUE(store.flush());
        const std::vector<std::string> notices = store.takeNotices();
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].rfind("The saved record could not be saved (", 0), 0u) << notices[0];
    }
}

// Two copies of the game on one folder (a second double click): the second reads what the first saved but
// writes nothing, says so once, and leaves the first's temporary files alone; the first's own sweep
// removes only those whose writer is gone. Once the first has ended, the next copy writes again.
TEST(FileStore, ASecondCopyOnTheFolderReadsWhatTheFirstSavedAndWritesNothing) {
    TemporaryFolder folder;
    auto first = std::make_unique<TFileStore>(folder.path());
    first->save(kRecord, "first's");
    ASSERT_TRUE(first->flush());
    EXPECT_FALSE(first->heldElsewhere());
    const std::string deadWriters = "record.sav.999999999.tmp";
    writeBytes(folder.path() / deadWriters, "a writer killed mid-save");
#ifndef _WIN32
    const std::string runningWriters = "record.sav.1.tmp"; // pid 1 runs for as long as the system does
    writeBytes(folder.path() / runningWriters, "a save being written");
#endif
    const std::vector<std::string> before = filesIn(folder.path());

    TFileStore second(folder.path());
    EXPECT_EQ(second.load(kRecord).contents, "first's");
    EXPECT_TRUE(second.heldElsewhere());
    EXPECT_EQ(second.takeNotices(),
              std::vector<std::string>{
                  "Another copy of the game is using the player's files: this one saves nothing"});
    second.save(kRecord, "second's");
    second.save(
        PlayerFile{PlayerFileKind::Settings, "settings.txt", "The settings", "the defaults", 1, false}, "x");
    ASSERT_TRUE(second.flush());
    EXPECT_EQ(filesIn(folder.path()), before) << "nothing written, nothing swept";
    EXPECT_TRUE(second.takeNotices().empty()) << "said once";

    EXPECT_EQ(first->load(kRecord).contents, "first's");
    EXPECT_FALSE(fs::exists(folder.path() / deadWriters));
#ifndef _WIN32
    EXPECT_TRUE(fs::exists(folder.path() / runningWriters));
    fs::remove(folder.path() / runningWriters);
#endif
    first.reset();
    TFileStore next(folder.path());
    next.save(kRecord, "next's");
    EXPECT_EQ(next.load(kRecord).contents, "next's");
    EXPECT_FALSE(next.heldElsewhere());
}

// A write that fails is tried again after a pause that grows (1 s, then 2 s), and at once by a flush
// (the game's close); the line that said it failed is followed by one saying it was saved after all.
TEST(FileStore, AFailedWriteIsTriedAgainUntilTheDiskTakesIt) {
    std::atomic<long long> clockMs{0};
    TemporaryFolder folder;
    TFileStore store(folder.path());
    store.useRetryClock([&clockMs] {
        return std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(clockMs.load());
    });
    const auto passMs = [&](long long ms) {
        clockMs += ms;
        store.retryClockMoved();
        return store.waitForWrites();
    };
    const fs::path main = folder.path() / kRecord.name;
    EXPECT_EQ(store.load(kRecord).from, LoadedFile::From::Nothing);
    store.injectWriteFault({ENOSPC, 0});
    store.save(kRecord, "won");
    ASSERT_TRUE(store.waitForWrites());
    ASSERT_TRUE(passMs(1000)); // the second try fails too
    store.injectWriteFault({});
    ASSERT_TRUE(passMs(1999));
    EXPECT_FALSE(fs::exists(main)) << "tried before its pause was over";
    ASSERT_TRUE(passMs(1));
    EXPECT_EQ(UnframeFile(bytesOf(main), 2).contents, "won");
    const std::vector<std::string> notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_NE(notices[0].find("could not be saved (No space left on device)"), std::string::npos)
        << notices[0];
    EXPECT_EQ(notices[1], "The saved record could be saved after all");

    store.injectWriteFault({ENOSPC, 0});
    store.save(kRecord, "won again");
    ASSERT_TRUE(store.waitForWrites());
    store.injectWriteFault({});
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(UnframeFile(bytesOf(main), 2).contents, "won again");
}

// Replacing a damaged file: a write that fails leaves the damaged file under its name (not yet set
// aside) and the backup; a game that died with the damaged file moved away and no new one yet finds
// the backup; a missing file whose backup is bad too says so and keeps that backup.
TEST(FileStore, AFailedOrCutOffReplacementOfADamagedFileNeverLosesTheBackup) {
    {
        SavedTwice saved;
        writeBytes(saved.main(), "damaged");
        saved.store.load(kRecord);
        saved.store.injectWriteFault({ENOSPC, 3});
        saved.store.save(kRecord, "fourth");
        ASSERT_TRUE(saved.store.flush());
        EXPECT_EQ(bytesOf(saved.main()), "damaged");
        EXPECT_FALSE(fs::exists(saved.folder.path() / "record.sav.damaged"));
        TFileStore nextStart(saved.folder.path());
        EXPECT_EQ(nextStart.load(kRecord).contents, "second");
    }
    {
        SavedTwice saved;
        fs::rename(saved.main(), saved.folder.path() / "record.sav.damaged");
        const LoadedFile loaded = saved.store.load(kRecord);
        EXPECT_EQ(loaded.from, LoadedFile::From::Backup);
        EXPECT_EQ(loaded.contents, "second");
        EXPECT_EQ(loaded.notice, "The saved record is missing: its backup is used");
        saved.store.save(kRecord, "fourth");
        ASSERT_TRUE(saved.store.flush());
        EXPECT_EQ(UnframeFile(bytesOf(saved.backup()), 2).contents, "second");

        fs::remove(saved.main());
        writeBytes(saved.backup(), "bad one");
        EXPECT_EQ(saved.store.load(kRecord).notice,
                  "The saved record is missing and its backup is damaged (it is "
                  "not a file the game wrote): a new record, the backup is kept");
    }
}

// A folder whose flush fails fails the write, with its reason; a folder made for the first time is
// flushed into its parent, and only then.
TEST(AtomicFile, AFolderThatCannotBeFlushedFailsTheWrite) {
    TemporaryFolder folder;
    const fs::path saves = folder.path() / "new" / "saves";
    const std::string ioError = std::generic_category().message(EIO);
    const WriteFault parentFails{0, 0, EIO, folder.path() / "new"};
    EXPECT_EQ(ReplaceFileAtomically(saves, "campaign.sav", "one", true, &parentFails), ioError);
    EXPECT_EQ(ReplaceFileAtomically(saves, "campaign.sav", "one", true, &parentFails), "") << "made already";
    const WriteFault folderFails{0, 0, EIO, saves};
    EXPECT_EQ(ReplaceFileAtomically(saves, "campaign.sav", "two", true, &folderFails), ioError);
}

#ifndef _WIN32
TEST(PlayerFolders, FollowTheXdgBaseDirectoriesPortableTxtOrVevuDataDir) {
    const auto set = [](const char* name, const char* value) {
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    };
    const char* saved[] = {"VEVU_DATA_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "HOME"};
    std::vector<std::optional<std::string>> before;
    for (const char* name : saved)
        before.push_back(std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt);

    set("VEVU_DATA_DIR", nullptr);
    set("HOME", "/home/player");
    set("XDG_CONFIG_HOME", "/cfg");
    set("XDG_DATA_HOME", nullptr);
    PlayerFolders folders = FindPlayerFolders(false);
    EXPECT_EQ(folders.settings, fs::path("/cfg/org.vevuzudevur.Vevu"));
    EXPECT_EQ(folders.progress, fs::path("/home/player/.local/share/org.vevuzudevur.Vevu"));
    set("XDG_CONFIG_HOME", "relative/is/ignored");
    set("XDG_DATA_HOME", "/data");
    folders = FindPlayerFolders(false);
    EXPECT_EQ(folders.settings, fs::path("/home/player/.config/org.vevuzudevur.Vevu"));
    EXPECT_EQ(folders.progress, fs::path("/data/org.vevuzudevur.Vevu"));
    EXPECT_TRUE(FindPlayerFolders(true).progress.empty())
        << "headless programs get no folder of the player's";
    TemporaryFolder program;
    EXPECT_EQ(FindPlayerFolders(false, program.path()).settings, folders.settings) << "no portable.txt yet";
    std::ofstream(program.path() / kPortableMarker).close();
    folders = FindPlayerFolders(false, program.path());
    EXPECT_EQ(folders.settings, program.path()) << "portable.txt keeps the files beside the program";
    EXPECT_EQ(folders.progress, program.path());
    EXPECT_TRUE(FindPlayerFolders(true, program.path()).progress.empty()) << "headless, even so";
    set("VEVU_DATA_DIR", "/portable");
    folders = FindPlayerFolders(true);
    EXPECT_EQ(folders.settings, fs::path("/portable"));
    EXPECT_EQ(folders.progress, fs::path("/portable"));
    EXPECT_EQ(FindPlayerFolders(false, program.path()).settings, fs::path("/portable"))
        << "over portable.txt";

    for (std::size_t i = 0; i < before.size(); ++i)
        set(saved[i], before[i] ? before[i]->c_str() : nullptr);
}
#endif

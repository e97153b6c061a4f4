// A process saving progress over and over, killed with SIGKILL at random moments: every time, the file left
// holds the progress before the save that was cut off or after it, whole, and so does its backup.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>

#include "driver/temporary_folder.h"
#include "engine/atomic_file.h"
#include "engine/file_frame.h"

namespace {

// What the saving process tells the test, in memory both share.
struct Shared {
    std::atomic<int> saved;   // the last progress saved whole
    std::atomic<int> writing; // the progress being saved now
};

std::string progressFile(int progress) {
    // A few kilobytes, so that a kill can land in the middle of the bytes too.
    return FrameFile(std::to_string(progress) + std::string(4096, static_cast<char>('a' + progress % 26)), 1);
}

int progressIn(const std::filesystem::path& path) {
    const FileRead read = ReadWholeFile(path, 1 << 16);
    if (read.outcome != FileRead::Outcome::Read) return -1;
    const Unframed unframed = UnframeFile(read.bytes, 1);
    if (unframed.check.verdict != FileVerdict::Good) return -2;
    const std::string_view digits = unframed.contents.substr(0, unframed.contents.find_first_not_of("0123456789"));
    if (digits.empty()) return -3;
    const int progress = std::stoi(std::string(digits));
    return unframed.contents == std::string_view(progressFile(progress)).substr(kFrameHeaderBytes) ? progress : -3;
}

} // namespace

TEST(AtomicFileCrash, AKillAtAnyMomentLeavesTheOldProgressOrTheNewWhole) {
    TemporaryFolder folder;
    auto* shared = static_cast<Shared*>(
        mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(shared, MAP_FAILED);
    for (int twice = 0; twice < 2; ++twice) // the backup too holds 0
        ASSERT_EQ(ReplaceFileAtomically(folder.path(), "campaign.sav", progressFile(0), true), "");
    std::mt19937 random(20261209);
    int progress = 0;
#ifdef VEVU_SANITIZED
    const int rounds = 100; // a fork of the sanitized process costs ten times as much
#else
    const int rounds = 200;
#endif
    for (int round = 0; round < rounds; ++round) {
        shared->saved = progress;
        shared->writing = progress;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int next = progress + 1;; ++next) {
                shared->writing = next;
                if (!ReplaceFileAtomically(folder.path(), "campaign.sav", progressFile(next), true).empty()) _exit(3);
                shared->saved = next;
            }
        }
        // The kill comes after a random number of whole saves (0 to 2) and a random spin on top, so it lands
        // anywhere in a save: writing, flushing, linking the backup, renaming, flushing the folder.
        const int savesFirst = static_cast<int>(random() % 3);
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (shared->saved < progress + savesFirst && std::chrono::steady_clock::now() < limit) {
        }
        const unsigned spins = random() % 400000;
        for (unsigned spin = 0; spin < spins; ++spin)
            std::atomic_signal_fence(std::memory_order_seq_cst); // kept: the spin is the random moment
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round << ": the saving process stopped by itself";
        const int saved = shared->saved, writing = shared->writing;
        const int left = progressIn(folder.path() / "campaign.sav");
        ASSERT_TRUE(left == saved || left == writing)
            << "round " << round << ": the file holds " << left << ", saved " << saved << ", writing " << writing;
        const int backup = progressIn(folder.path() / "campaign.sav.bak");
        ASSERT_TRUE(backup == left || backup == left - 1)
            << "round " << round << ": the backup holds " << backup << ", the file " << left;
        progress = left;
    }
    munmap(shared, sizeof(Shared));
    EXPECT_GT(progress, rounds / 2) << "the saves got on";
}
#endif

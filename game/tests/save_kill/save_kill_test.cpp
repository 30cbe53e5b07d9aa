// Saving the high-score table survives being killed: a child process saves the table in a loop,
// as the game does at the end of a game, and is killed with SIGKILL at random moments. After
// every kill the file must hold a whole table, the last one known to be there or a newer one,
// never a partial or empty file. The same on a full disk, where every save must fail without
// touching the old file.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "highscore_entry.hpp"
#include "support/temp_dir.hpp"

namespace pimwarden {
namespace {

using lumo::testing::TempDir;

constexpr unsigned int ROWS = Highscores::size;

// Table number `v`: every row tells `v`, so a file read back shows which table it holds and
// whether it is whole.
Highscores tableNumber(unsigned int v) {
    Highscores t;
    for (unsigned int i = 0; i < ROWS; ++i)
        t[i] = HighscoreEntry("table " + std::to_string(v) + " row " + std::to_string(i),
                              v * 100 + (ROWS - i));
    return t;
}

// The table number the file holds, or a description of what is wrong with it.
bool readTableNumber(const std::string& file, unsigned int& v, std::string& problem) {
    Highscores t;
    try {
        loadHighscoreFile(t, file);
    } catch (const std::string& message) {
        problem = "unreadable: " + message;
        return false;
    }
    v = t[0].score / 100;
    const Highscores expected = tableNumber(v);
    for (unsigned int i = 0; i < ROWS; ++i)
        if (t[i].name != expected[i].name || t[i].score != expected[i].score) {
            problem = "row " + std::to_string(i) + " is \"" + t[i].name + "\" " +
                      std::to_string(t[i].score) + ", not part of table " + std::to_string(v);
            return false;
        }
    return true;
}

// Saves table `first`, `first` + 1, ... until killed. Never returns.
[[noreturn]] void saveForever(const std::string& file, unsigned int first) {
    alarm(30);  // in case the test dies before it kills this child
    for (unsigned int v = first;; ++v) {
        try {
            saveHighscoreFile(tableNumber(v), file);
        } catch (const std::string&) {
            // A full disk: the next attempt fails the same way.
        }
    }
}

struct KillStats {
    int rounds = 0;
    int newTables = 0;  // rounds after which the file held a newer table than before
    unsigned int last = 0;
};

// How long one save of a table to `file` takes, in microseconds (the file is left as it was).
long saveMicroseconds(const std::string& file) {
    const std::string probe = file + "-timing";
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) {
        try {
            saveHighscoreFile(tableNumber(0), probe);
        } catch (const std::string&) {
            // A full disk: failing saves are what the children will do too.
        }
    }
    ::unlink(probe.c_str());
    return static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                 std::chrono::steady_clock::now() - begin)
                                 .count() /
                             5);
}

// Runs `rounds` kills of a saving child on `file`, which holds table `start` at first. With
// `mustStay`, every save is expected to fail, so the file must still hold table `start`.
KillStats killWhileSaving(const std::string& file, unsigned int start, int rounds, bool mustStay,
                          std::mt19937& random) {
    KillStats stats;
    stats.last = start;
    // From before the child's first save to a few saves into it, however long a save takes on
    // this disk (it waits for the data to reach the disk).
    std::uniform_int_distribution<long> delay(0, std::max(4000L, 3 * saveMicroseconds(file)));
    for (int round = 0; round < rounds; ++round) {
        const pid_t child = fork();
        if (child < 0) {
            ADD_FAILURE() << "fork: " << std::strerror(errno);
            return stats;
        }
        if (child == 0)
            saveForever(file, stats.last + 1);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round;

        unsigned int v = 0;
        std::string problem;
        if (!readTableNumber(file, v, problem)) {
            ADD_FAILURE() << "after kill " << round << " the file is " << problem;
            return stats;
        }
        if (mustStay) {
            EXPECT_EQ(v, start) << "a save on a full disk replaced the table (kill " << round
                                << ")";
        } else {
            EXPECT_GE(v, stats.last) << "an older table came back (kill " << round << ")";
        }
        if (v > stats.last)
            ++stats.newTables;
        stats.last = std::max(stats.last, v);
        ++stats.rounds;
    }
    return stats;
}

// Files the killed saves left beside the table (the temporary files of the replacement).
int strayFiles(const TempDir& dir, const std::string& keep) {
    int n = 0;
    for (const std::string& name : dir.entries())
        if (name != keep && name.rfind("highscores.xml.", 0) == 0)
            ++n;
    return n;
}

std::mt19937 seededRandom() {
    const unsigned int seed = std::random_device{}();
    std::printf("random seed %u\n", seed);
    return std::mt19937(seed);
}

TEST(SaveKill, AKilledSaveLeavesTheOldOrTheNewTable) {
    TempDir dir;
    const std::string file = dir.file("highscores.xml");
    saveHighscoreFile(tableNumber(1), file);
    std::mt19937 random = seededRandom();

    const KillStats stats = killWhileSaving(file, 1, 300, false, random);
    EXPECT_EQ(stats.rounds, 300);
    // The child must have been saving when it was killed, or nothing was tested.
    EXPECT_GE(stats.newTables, 30) << "the saving child hardly ever got to save";
    std::printf(
        "%d kills, %d of them after a new table was saved (up to table %u); %d "
        "temporary files left behind\n",
        stats.rounds, stats.newTables, stats.last, strayFiles(dir, "highscores.xml"));
}

// A tmpfs of a few pages mounted on a directory of the test's own, unmounted at the end.
class SmallDisk {
  public:
    explicit SmallDisk(const std::string& where) : path(where) {
        ::mkdir(path.c_str(), 0700);
        mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=64k,nr_inodes=4096") == 0;
        if (!mounted)
            reason = std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted)
            ::umount2(path.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Fills the disk with `name` until a write fails for want of space.
    bool fill(const std::string& name) {
        std::FILE* f = std::fopen((path + "/" + name).c_str(), "wb");
        if (!f)
            return false;
        std::setvbuf(f, nullptr, _IONBF, 0);
        const std::string block(1024, 'x');
        int err = 0;
        while (err == 0)
            if (std::fwrite(block.data(), 1, block.size(), f) != block.size())
                err = errno;
        std::fclose(f);
        return err == ENOSPC;
    }

    std::string path;
    bool mounted = false;
    std::string reason;
};

TEST(SaveKill, OnAFullDiskTheOldTableStays) {
    TempDir dir;
    SmallDisk disk(dir.file("disk"));
    if (!disk.mounted)
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << disk.reason
                     << "; it needs root): the full-disk case is not tested";
    const std::string file = disk.path + "/highscores.xml";
    saveHighscoreFile(tableNumber(7), file);
    ASSERT_TRUE(disk.fill("filler")) << "the disk did not fill up";

    // In this process first: the failure is reported, naming the file, and nothing changes.
    try {
        saveHighscoreFile(tableNumber(8), file);
        ADD_FAILURE() << "saving on a full disk reported success";
    } catch (const std::string& message) {
        EXPECT_NE(message.find(file), std::string::npos) << message;
    }
    unsigned int v = 0;
    std::string problem;
    ASSERT_TRUE(readTableNumber(file, v, problem)) << problem;
    EXPECT_EQ(v, 7u);

    std::mt19937 random = seededRandom();
    const KillStats stats = killWhileSaving(file, 7, 200, true, random);
    EXPECT_EQ(stats.rounds, 200);

    // Once there is room again, saving works, and what the kills left behind does not stop it.
    ASSERT_EQ(::unlink((disk.path + "/filler").c_str()), 0);
    saveHighscoreFile(tableNumber(9), file);
    ASSERT_TRUE(readTableNumber(file, v, problem)) << problem;
    EXPECT_EQ(v, 9u);
}

}  // namespace
}  // namespace pimwarden

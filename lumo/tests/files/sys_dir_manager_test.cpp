#include "files/sys_dir_manager.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/temp_dir.hpp"

using namespace lumo;

namespace {

// A manager whose user has the home directory the test says, or none at all.
struct ManagerWithHome : SysDirManager {
    ManagerWithHome(const char* home, SysDirCategory category)
        : SysDirManager("app", category), home(home) {}
    const char* passwordHomeDir() const override { return home; }
    const char* home;
};

bool isDir(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

TEST(SysDirManager, DirectoriesOfEachCategory) {
    const char* game[] = {"/etc/app/", "/home/x/.app/", "/usr/share/games/app/", "/var/games/app/"};
    const char* application[] = {"/etc/app/", "/home/x/.app/", "/usr/share/app/", "/var/lib/app/"};
    for (SysDir dir : {sdConfig, sdUser, sdConstData, sdVarData}) {
        EXPECT_EQ(game[dir], ManagerWithHome("/home/x", sdGame).getDir(dir));
        EXPECT_EQ(application[dir], ManagerWithHome("/home/x/", sdApplication).getDir(dir));
    }
    // A home of "/" (or an empty entry, which means the same) gives /.app/.
    EXPECT_EQ("/.app/", ManagerWithHome("/", sdGame).getDir(sdUser));
    EXPECT_EQ("/.app/", ManagerWithHome("", sdGame).getDir(sdUser));

    // An override of the data directory is returned exactly as stored.
    ManagerWithHome manager("/home/x", sdGame);
    manager.constDataDir = "/opt/data";
    EXPECT_EQ("/opt/data", manager.getDir(sdConstData));
    manager.constDataDir = "/opt/data/";
    EXPECT_EQ("/opt/data/levels/", manager.getSubDir(sdConstData, "levels", false));

    // No password entry, or a value outside the enumeration: a message, not a crash.
    EXPECT_THROW(ManagerWithHome(nullptr, sdGame).getDir(sdUser), std::string);
    EXPECT_EQ("/etc/app/", ManagerWithHome(nullptr, sdGame).getDir(sdConfig));
    EXPECT_THROW(manager.getDir(static_cast<SysDir>(4)), std::string);
    // The real user's entry gives an absolute home.
    EXPECT_EQ('/', SysDirManager("app", sdGame).getDir(sdUser).front());
}

TEST(SysDirManager, SubDirectoriesAndChainsAreCreatedOnRequest) {
    lumo::testing::TempDir home;
    const std::string app = home.path() + "/.app/";
    ManagerWithHome manager(home.path().c_str(), sdGame);
    EXPECT_EQ(app + "scores/", manager.getSubDir(sdUser, "scores", false));
    EXPECT_FALSE(isDir(app));
    EXPECT_EQ(app + "scores/", manager.getSubDir(sdUser, "scores", true));
    EXPECT_TRUE(isDir(app + "scores"));
    EXPECT_EQ(app + "a/b/", manager.getSubDir(sdUser, "a/b/", true));
    EXPECT_TRUE(isDir(app + "a/b"));

    // mkdirs leaves a trailing file name and the directory just before it alone.
    EXPECT_TRUE(mkdirs(""));
    EXPECT_TRUE(mkdirs(app + "c/d/e.txt"));
    EXPECT_TRUE(isDir(app + "c"));
    EXPECT_FALSE(isDir(app + "c/d"));
    EXPECT_TRUE(mkdirs(app + "c/d/"));
    EXPECT_TRUE(isDir(app + "c/d"));
    // Created directories are private to the user and the group (0770), as far as the umask
    // lets them be.
    for (mode_t mask : {mode_t(0), mode_t(022)}) {
        const mode_t saved = ::umask(mask);
        const std::string chain = app + "m" + std::to_string(mask) + "/n/";
        const bool made = mkdirs(chain);
        ::umask(saved);
        ASSERT_TRUE(made);
        for (const std::string& dir : {chain, chain + "../"}) {
            struct stat info;
            ASSERT_EQ(::stat(dir.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0770u & ~mask) << dir;
        }
    }
    // A chain below a regular file cannot be made.
    home.write(".app/plain", "x");
    EXPECT_FALSE(mkdirs(app + "plain/sub/"));
    EXPECT_FALSE(isDir(app + "plain/sub"));
}

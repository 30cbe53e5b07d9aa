#include "files/sys_dir_manager.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "support/temp_dir.hpp"

using lumo::SysDirManager;
using lumo::testing::TempDir;

namespace {

// A manager whose user has the home directory the test says, or none at all.
class ManagerWithHome : public SysDirManager {
  public:
    ManagerWithHome(const char* home, lumo::SysDirCategory category)
        : SysDirManager("app", category), home(home) {}
    const char* passwordHomeDir() const override { return home; }
    const char* home;
};

bool isDir(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

TEST(SysDirManager, GivesTheDirectoriesOfEachCategory) {
    ManagerWithHome game("/home/x", lumo::sdGame);
    EXPECT_EQ("/etc/app/", game.getDir(lumo::sdConfig));
    EXPECT_EQ("/home/x/.app/", game.getDir(lumo::sdUser));
    EXPECT_EQ("/usr/share/games/app/", game.getDir(lumo::sdConstData));
    EXPECT_EQ("/var/games/app/", game.getDir(lumo::sdVarData));

    ManagerWithHome application("/home/x/", lumo::sdApplication);
    EXPECT_EQ("/etc/app/", application.getDir(lumo::sdConfig));
    EXPECT_EQ("/home/x/.app/", application.getDir(lumo::sdUser));
    EXPECT_EQ("/usr/share/app/", application.getDir(lumo::sdConstData));
    EXPECT_EQ("/var/lib/app/", application.getDir(lumo::sdVarData));

    // An override of the data directory is returned exactly as stored.
    application.constDataDir = "/opt/app-data";
    EXPECT_EQ("/opt/app-data", application.getDir(lumo::sdConstData));
    application.constDataDir = "/opt/app-data/";
    EXPECT_EQ("/opt/app-data/levels/", application.getSubDir(lumo::sdConstData, "levels", false));
}

TEST(SysDirManager, UserDirectoryOfUnusualHomes) {
    EXPECT_EQ("/.app/", ManagerWithHome("/", lumo::sdGame).getDir(lumo::sdUser));
    EXPECT_EQ("/.app/", ManagerWithHome("", lumo::sdGame).getDir(lumo::sdUser));
    // No password entry: a message, not a crash, and only for the user directory.
    ManagerWithHome homeless(nullptr, lumo::sdGame);
    EXPECT_THROW(homeless.getDir(lumo::sdUser), std::string);
    EXPECT_EQ("/etc/app/", homeless.getDir(lumo::sdConfig));

    // The real user's entry gives an absolute home.
    std::string user = SysDirManager("app", lumo::sdGame).getDir(lumo::sdUser);
    EXPECT_EQ('/', user.front());
    EXPECT_EQ("/.app/", user.substr(user.size() - 6));
}

TEST(SysDirManager, InvalidDirectoryTypeThrows) {
    ManagerWithHome manager("/home/x", lumo::sdGame);
    try {
        manager.getDir(static_cast<lumo::SysDir>(4));
        FAIL() << "no exception";
    } catch (const std::string& message) {
        EXPECT_EQ("Invalid system directory type 4.", message);
    }
}

TEST(SysDirManager, SubDirectoriesAreCreatedOnRequest) {
    TempDir home;
    ManagerWithHome manager(home.path().c_str(), lumo::sdGame);

    const std::string peek = manager.getSubDir(lumo::sdUser, "scores", false);
    EXPECT_EQ(home.path() + "/.app/scores/", peek);
    EXPECT_FALSE(isDir(home.path() + "/.app"));

    EXPECT_EQ(peek, manager.getSubDir(lumo::sdUser, "scores", true));
    EXPECT_TRUE(isDir(home.path() + "/.app"));
    EXPECT_TRUE(isDir(home.path() + "/.app/scores"));

    // A sub-directory already ending in a slash gets no second one.
    EXPECT_EQ(home.path() + "/.app/a/b/", manager.getSubDir(lumo::sdUser, "a/b/", true));
    EXPECT_TRUE(isDir(home.path() + "/.app/a/b"));
    EXPECT_EQ(home.path() + "/.app/", manager.getSubDir(lumo::sdUser, "", false));
}

TEST(Mkdirs, CreatesOnlyDirectoriesFollowedByASlash) {
    TempDir dir;
    const std::string root = dir.path();

    EXPECT_TRUE(lumo::mkdirs(""));
    EXPECT_TRUE(lumo::mkdirs("just-a-name"));
    EXPECT_FALSE(isDir("just-a-name"));

    // The trailing file name and the directory just before it are left alone.
    EXPECT_TRUE(lumo::mkdirs(root + "/a/b/c.txt"));
    EXPECT_TRUE(isDir(root + "/a"));
    EXPECT_FALSE(isDir(root + "/a/b"));

    EXPECT_TRUE(lumo::mkdirs(root + "/a/b/c/"));
    EXPECT_TRUE(isDir(root + "/a/b/c"));
    EXPECT_TRUE(lumo::mkdirs(root + "/a/b/c/"));

    // A chain below a regular file cannot be made.
    std::ofstream(root + "/plain") << "x";
    EXPECT_FALSE(lumo::mkdirs(root + "/plain/sub/"));
    EXPECT_FALSE(isDir(root + "/plain/sub"));
}

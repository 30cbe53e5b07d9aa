#pragma once
// The standard Unix directories of an installed application, and creation of directory chains.

#include <string>

namespace lumo {

/// Where the application installs: plain applications, or games (which use the games
/// directories of the file system hierarchy).
enum SysDirCategory { sdApplication = 0, sdGame = 1 };

/// The kinds of directory an application reads or writes.
enum SysDir { sdConfig = 0, sdUser = 1, sdConstData = 2, sdVarData = 3 };

/// Maps directory kinds to paths for one application name. Not thread-safe (getpwuid).
class SysDirManager {
  public:
    SysDirManager(std::string applicationName, SysDirCategory category);
    virtual ~SysDirManager() = default;

    /// The directory of kind `dirType`, ending in "/" (except a `constDataDir` set without one,
    /// which is returned as stored). Throws a message for a value outside SysDir, and when the
    /// user's home directory cannot be found (sdUser only).
    std::string getDir(SysDir dirType) const;
    /// getDir(type) + subDir, with a trailing "/" added when missing; creates the whole chain
    /// when `create` is set (a failure to create is not reported: later file access fails).
    /// Throws as getDir.
    std::string getSubDir(SysDir type, std::string subDir, bool create) const;

    std::string applicationName;
    SysDirCategory category;
    /// When not empty, replaces the computed read-only data directory.
    std::string constDataDir;

  protected:
    /// The home directory of the real user as the password database gives it, or null when the
    /// user has no entry. A seam for tests, which supply a home of their own.
    virtual const char* passwordHomeDir() const;

  private:
    /// passwordHomeDir() ending in "/"; throws when there is none.
    std::string getHomeDir() const;
};

/// Creates every directory of `path` that is followed by a "/" and does not exist yet (mode
/// 0770 before the umask). A trailing file name is ignored: "a/b/c.txt" creates only "a", while
/// "a/b/" creates "a" and "a/b". Returns false when a directory could not be examined or
/// created; true otherwise, including for an empty path.
bool mkdirs(std::string path);

}  // namespace lumo

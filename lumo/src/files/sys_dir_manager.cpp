#include "files/sys_dir_manager.hpp"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace lumo {

namespace {

void appendSlash(std::string& path) {
    if (!path.empty() && path.back() != '/')
        path += '/';
}

}  // namespace

SysDirManager::SysDirManager(std::string name, SysDirCategory cat)
    : applicationName(std::move(name)), category(cat) {}

const char* SysDirManager::passwordHomeDir() const {
    const passwd* entry = getpwuid(getuid());
    return entry ? entry->pw_dir : nullptr;
}

std::string SysDirManager::getHomeDir() const {
    const char* dir = passwordHomeDir();
    if (!dir)
        throw std::string("Could not find the home directory of user ") + std::to_string(getuid()) +
            ".";
    std::string home = dir;
    // An empty entry means the root, not the current directory.
    if (home.empty() || home.back() != '/')
        home += '/';
    return home;
}

std::string SysDirManager::getDir(SysDir dirType) const {
    const bool game = category == sdGame;
    switch (dirType) {
        case sdConfig:
            return "/etc/" + applicationName + "/";
        case sdUser:
            return getHomeDir() + "." + applicationName + "/";
        case sdConstData:
            if (!constDataDir.empty())
                return constDataDir;
            return (game ? "/usr/share/games/" : "/usr/share/") + applicationName + "/";
        case sdVarData:
            return (game ? "/var/games/" : "/var/lib/") + applicationName + "/";
    }
    throw "Invalid system directory type " + std::to_string(static_cast<int>(dirType)) + ".";
}

std::string SysDirManager::getSubDir(SysDir type, std::string subDir, bool create) const {
    std::string path = getDir(type) + subDir;
    appendSlash(path);
    if (create && !path.empty())
        mkdirs(path);
    return path;
}

bool mkdirs(std::string path) {
    if (path.empty())
        return true;
    if (path.back() != '/') {
        std::string::size_type slash = path.rfind('/');
        if (slash != std::string::npos)
            path.erase(slash);
        if (path.empty())
            return true;
    }
    for (std::string::size_type i = 1; i < path.size(); ++i) {
        if (path[i] != '/')
            continue;
        const std::string prefix = path.substr(0, i);
        struct stat info;
        if (stat(prefix.c_str(), &info) == 0)
            continue;
        if (errno != ENOENT)
            return false;
        if (mkdir(prefix.c_str(), 0770) != 0)
            return false;
    }
    return true;
}

}  // namespace lumo

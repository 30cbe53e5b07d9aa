#pragma once
// A scratch directory for one test, removed with everything in it at the end.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumo {
namespace testing {

class TempDir {
  public:
    TempDir() {
        char pattern[] = "/tmp/lumo-xml-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        path_ = made ? made : "";
    }
    ~TempDir() { removeTree(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    /// Writes `content` to `name` and returns the full path.
    std::string write(const std::string& name, const std::string& content) const {
        std::string full = file(name);
        std::ofstream(full, std::ios::binary) << content;
        return full;
    }

    /// Names of the entries in the directory, "." and ".." excluded.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(path_.c_str())) {
            while (dirent* e = ::readdir(dir)) {
                std::string n = e->d_name;
                if (n != "." && n != "..")
                    names.push_back(n);
            }
            ::closedir(dir);
        }
        return names;
    }

  private:
    static void removeTree(const std::string& path) {
        if (path.empty())
            return;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            return;
        if (S_ISDIR(st.st_mode)) {
            ::chmod(path.c_str(), 0700);
            if (DIR* dir = ::opendir(path.c_str())) {
                std::vector<std::string> names;
                while (dirent* e = ::readdir(dir)) {
                    std::string n = e->d_name;
                    if (n != "." && n != "..")
                        names.push_back(path + "/" + n);
                }
                ::closedir(dir);
                for (const std::string& n : names)
                    removeTree(n);
            }
            ::rmdir(path.c_str());
        } else {
            ::unlink(path.c_str());
        }
    }

    std::string path_;
};

inline std::string readFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing
}  // namespace lumo

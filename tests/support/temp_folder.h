// temp_folder.h - a fresh folder per test, removed with everything in it.
#pragma once

#include <string>

namespace testing_support {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending with a separator.
    const std::string& path() const { return path_; }
    // `name` inside the folder.
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Writes `bytes` to `path`, creating missing parent folders.
void writeFile(const std::string& path, const std::string& bytes);
void makeFolder(const std::string& path);

} // namespace testing_support

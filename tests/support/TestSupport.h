#pragma once
// Helpers shared by the test programs.
#include <string>

namespace testsupport {

// A fresh empty folder under the system temporary folder, removed with the
// object.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder &) = delete;
    TTempFolder &operator=(const TTempFolder &) = delete;
    const std::string &Path() const { return Folder; }   // with trailing "/"
    std::string File(const std::string &name) const { return Folder + name; }

private:
    std::string Folder;
};

void WriteFile(const std::string &path, const std::string &bytes);
std::string ReadFile(const std::string &path);

}  // namespace testsupport

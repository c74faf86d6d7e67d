#include "tests/support/TestSupport.h"

#include "platform/FileUnit.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>
#include <cstdlib>

namespace testsupport {

TTempFolder::TTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvilex-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) throw std::runtime_error("cannot create a temporary folder");
    Folder = std::string(name.data()) + "/";
}

TTempFolder::~TTempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(Folder, ec);
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string &path)
{
    return platform::ReadWholeFile(path);
}

}  // namespace testsupport

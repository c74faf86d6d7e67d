#pragma once
// Files beside the program and safe saving of the program's own files.
#include <string>
#include <string_view>

namespace platform {

std::string ReadWholeFile(const std::string &path);        // raises TStreamError
// Writes a temporary file in the target's folder, syncs it, renames it over
// the target and syncs the folder: a failed save leaves the old file as it was.
void WriteFileAtomically(const std::string &path, std::string_view bytes);

bool FileExists(const std::string &path);                   // a regular file
bool DirectoryExists(const std::string &path);
std::string ExtractFileName(const std::string &path);       // after the last "/"
std::string ExtractFileExt(const std::string &path);        // from the last "." of the name, "" when none
std::string ChangeFileExt(const std::string &path, const std::string &ext);
std::string IncludeTrailingSlash(const std::string &folder);
// "\" of paths read from list files becomes "/".
std::string NativePath(std::string path);

// Path of the running executable and its folder (with a trailing "/").
// Tests may point the program folder elsewhere.
std::string ProgramPath();
std::string ProgramFolder();
void SetProgramFolderForTesting(const std::string &folder);

}  // namespace platform

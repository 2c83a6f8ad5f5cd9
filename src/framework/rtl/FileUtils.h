// Whole-file reading and writing and folder helpers over std::filesystem (wide names on
// Windows). Paths are program text: "\" separated on Windows.
#pragma once

#include "framework/rtl/RtlText.h"

#include <filesystem>

namespace vp {

std::filesystem::path ToFsPath(StringView path);

bool FileExists(StringView path); // a file, not a folder
bool DirectoryExists(StringView path); // a folder
bool PathExists(StringView path); // either
// Creates the folder and all missing parents; false when it does not exist afterwards.
bool ForceDirectories(StringView path);

// The system's folder for temporary files, ending in the separator ("" when unknown).
String SystemTempFolder();

// Raises EFOpenError when the file cannot be read.
std::string ReadAllBytes(StringView path);
// Writes the bytes to a new file beside the target and then replaces the target with it,
// so that a failure never leaves a half-written target. Raises EFCreateError/EWriteError;
// the old file then stays as it was.
void WriteAllBytesAtomic(StringView path, std::string_view bytes);

} // namespace vp

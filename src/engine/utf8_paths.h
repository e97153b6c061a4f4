#pragma once
// File names as the game passes them around: UTF-8 text on every platform, turned into the platform's own
// path where a file is opened. Windows' narrow file functions and its narrow command line speak the ANSI
// code page, where a name in another script (a user folder, a replay a friend named) comes out as
// question marks or not at all; its wide ones speak UTF-16, which holds every name.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

// The program's arguments in UTF-8 (argv[0] first). Windows: read from the wide command line, not argv.
std::vector<std::string> ProgramArguments(int argc, char** argv);

#ifdef _WIN32
// UTF-16 as Windows' wide functions give it, as UTF-8 (an unpaired surrogate becomes U+FFFD).
std::string Utf8FromWide(std::wstring_view text);
#endif

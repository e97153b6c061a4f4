#pragma once
// The languages the player's system speaks, best first, and the one of ours that suits them.
#include <string>
#include <vector>

// Linux: the LANGUAGE list, then the locale of LC_ALL, LC_MESSAGES or LANG ("de_DE.UTF-8"), none when
// that locale is C or POSIX; Windows: the user's UI languages ("de-DE"); the page: the browser's
// navigator.languages ("pt-BR").
std::vector<std::string> SystemLanguages();

// The first of the preferred languages that one of ours (codes such as "de", "pt_BR", "zh_CN") speaks:
// the same language and region, else the same language ("pt-PT" takes "pt_BR"), though Chinese in
// traditional characters (Hant, Taiwan, Hong Kong, Macau) never takes simplified. "en" when none does.
std::string MatchLanguage(const std::vector<std::string>& preferred, const std::vector<std::string>& ours);

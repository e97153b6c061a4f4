#include "engine/system_language.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cwchar>

#ifdef _WIN32
#include <windows.h>
#elif defined(__EMSCRIPTEN__)
#include <emscripten.h>
#endif

namespace {

std::string Lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "de_DE.UTF-8@euro" or "zh-Hans-CN" as lower-case parts: {"de", "de"}, {"zh", "hans", "cn"}.
std::vector<std::string> TagParts(const std::string& tag) {
    std::string bare = tag.substr(0, tag.find_first_of(".@"));
    std::replace(bare.begin(), bare.end(), '-', '_');
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= bare.size()) {
        const std::size_t end = std::min(bare.find('_', start), bare.size());
        if (end > start) parts.push_back(Lowered(bare.substr(start, end - start)));
        start = end + 1;
    }
    return parts;
}

bool TraditionalChinese(const std::vector<std::string>& parts) {
    if (parts.empty() || parts[0] != "zh") return false;
    return std::any_of(parts.begin() + 1, parts.end(), [](const std::string& p) {
        return p == "hant" || p == "tw" || p == "hk" || p == "mo";
    });
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
#endif

#ifdef __EMSCRIPTEN__
// The browser's languages, comma-separated, as ASCII (language tags are).
EM_JS(int, vevu_browser_languages, (char* buffer, int size), {
    const list = (navigator.languages && navigator.languages.length) ? navigator.languages
                                                                     : [navigator.language || ""];
    const text = list.join(",");
    let n = 0;
    for (let i = 0; i < text.length && n + 1 < size; ++i) {
        const code = text.charCodeAt(i);
        if (code < 128) HEAPU8[buffer + n++] = code;
    }
    HEAPU8[buffer + n] = 0;
    return n;
});
#endif

} // namespace

std::vector<std::string> SystemLanguages() {
#ifdef _WIN32
    ULONG count = 0, size = 0;
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) && size > 0) {
        std::wstring names(size, L'\0');
        if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) {
            std::vector<std::string> languages;
            for (const wchar_t* name = names.c_str(); *name; name += std::wcslen(name) + 1)
                languages.emplace_back(name, name + std::wcslen(name)); // language tags are ASCII
            if (!languages.empty()) return languages;
        }
    }
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH,
                         0) > 0)
        return {std::string(name, name + std::wcslen(name))};
    return {};
#elif defined(__EMSCRIPTEN__)
    char buffer[512];
    vevu_browser_languages(buffer, sizeof buffer);
    return Split(buffer, ',');
#else
    // As gettext reads them: the first of LC_ALL, LC_MESSAGES and LANG that is set names the locale;
    // LANGUAGE lists preferences before it, unless the locale is C (a program asked to speak plainly).
    std::string locale = Variable("LC_ALL");
    if (locale.empty()) locale = Variable("LC_MESSAGES");
    if (locale.empty()) locale = Variable("LANG");
    if (locale.empty() || locale == "C" || locale.rfind("C.", 0) == 0 || locale == "POSIX") return {};
    std::vector<std::string> languages = Split(Variable("LANGUAGE"), ':');
    languages.push_back(locale);
    return languages;
#endif
}

std::string MatchLanguage(const std::vector<std::string>& preferred, const std::vector<std::string>& ours) {
    for (const std::string& tag : preferred) {
        const std::vector<std::string> parts = TagParts(tag);
        if (parts.empty() || parts[0] == "c" || parts[0] == "posix") continue;
        if (parts[0] == "en") return "en";
        if (TraditionalChinese(parts)) continue;
        std::string sameLanguage;
        for (const std::string& code : ours) {
            const std::vector<std::string> codeParts = TagParts(code);
            if (codeParts.empty() || codeParts[0] != parts[0]) continue;
            if (codeParts == parts) return code;
            if (sameLanguage.empty()) sameLanguage = code;
        }
        if (!sameLanguage.empty()) return sameLanguage;
    }
    return "en";
}

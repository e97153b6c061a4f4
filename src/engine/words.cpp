#include "engine/words.h"

#include <map>
#include <memory>
#include <utility>

#include "engine/message_catalogue.h"
#include "engine/resources.h"
#include "engine/system_language.h"

namespace {

struct LanguageEntry {
    const char* code;
    const char* name;
};

// Every language the game may ship, in the order the options list them, named in itself.
constexpr LanguageEntry kKnownLanguages[] = {
    {"en", "English"}, {"de", "Deutsch"},     {"fr", "Français"},
    {"es", "Español"}, {"it", "Italiano"},    {"pt_BR", "Português (Brasil)"},
    {"pl", "Polski"},  {"ru", "Русский"},     {"uk", "Українська"},
    {"ja", "日本語"},  {"zh_CN", "简体中文"}, {"ko", "한국어"},
};

std::string CatalogueResource(std::string_view code) {
    return "incbin::Locale\\" + std::string(code) + ".mo";
}

struct Speaking {
    std::string code = "en";
    std::string systemCode = "en";
    const TMessageCatalogue* catalogue = nullptr; // null for English
    struct Read {
        std::unique_ptr<TMessageCatalogue> catalogue; // null when it could not be read
        std::string failure;                          // then what the player is told
    };
    // Catalogues read so far, kept for the next switch.
    std::map<std::string, Read, std::less<>> read;
    std::vector<std::string> notices;
};

Speaking::Read ReadCatalogue(std::string_view code) {
    const std::string name = LanguageName(code);
    const ResourceData data = OpenResource(CatalogueResource(code));
    if (!data) return {nullptr, "The game has no words in " + name + ": it speaks English"};
    auto catalogue = std::make_unique<TMessageCatalogue>();
    const FileCheck check = catalogue->read({reinterpret_cast<const char*>(data.bytes), data.size});
    if (check.verdict != FileVerdict::Good)
        return {nullptr,
                "The words in " + name + " are damaged (" + check.why + "): the game speaks English"};
    return {std::move(catalogue), {}};
}

Speaking& Current() {
    static Speaking speaking;
    return speaking;
}

} // namespace

std::vector<TLanguage> Languages() {
    std::vector<TLanguage> languages;
    for (const LanguageEntry& known : kKnownLanguages)
        if (std::string_view(known.code) == "en" || OpenResource(CatalogueResource(known.code)))
            languages.push_back({known.code, known.name});
    return languages;
}

std::string LanguageName(std::string_view code) {
    for (const LanguageEntry& known : kKnownLanguages)
        if (code == known.code) return known.name;
    return std::string(code);
}

bool KnownLanguage(std::string_view code) {
    for (const LanguageEntry& known : kKnownLanguages)
        if (code == known.code) return true;
    return false;
}

const std::string& CurrentLanguage() {
    return Current().code;
}

void ForgetCatalogues() {
    Speaking& speaking = Current();
    speaking.code = "en";
    speaking.catalogue = nullptr;
    speaking.read.clear();
}

bool SetLanguage(std::string_view code) {
    Speaking& speaking = Current();
    if (code == "en" || code.empty()) {
        speaking.code = "en";
        speaking.catalogue = nullptr;
        return code == "en";
    }
    auto found = speaking.read.find(code);
    if (found == speaking.read.end())
        found = speaking.read.emplace(std::string(code), ReadCatalogue(code)).first;
    speaking.catalogue = found->second.catalogue.get();
    speaking.code = speaking.catalogue ? std::string(code) : "en";
    if (!speaking.catalogue) speaking.notices.push_back(found->second.failure);
    return speaking.catalogue != nullptr;
}

const std::string& SystemLanguage() {
    return Current().systemCode;
}

void UseSystemLanguage() {
    std::vector<std::string> ours;
    for (const TLanguage& language : Languages())
        ours.push_back(language.code);
    Current().systemCode = MatchLanguage(SystemLanguages(), ours);
}

std::vector<std::string> TakeLanguageNotices() {
    return std::exchange(Current().notices, {});
}

std::string Tr(std::string_view english) {
    const TMessageCatalogue* catalogue = Current().catalogue;
    if (catalogue)
        if (const std::string* translated = catalogue->find(english))
            return std::string(TMessageCatalogue::form(*translated, 0));
    return std::string(english);
}

std::string Placed(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string placed;
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            placed += text[i];
            continue;
        }
        if (text[i + 1] == '%') {
            placed += '%';
            ++i;
            continue;
        }
        std::size_t kind = i + 1, index = next;
        if (text[kind] >= '1' && text[kind] <= '9' && kind + 2 < text.size() && text[kind + 1] == '$') {
            index = static_cast<std::size_t>(text[kind] - '1');
            kind += 2;
        }
        if (text[kind] != 's' && text[kind] != 'd') {
            placed += text[i];
            continue;
        }
        if (index < values.size()) placed += values.begin()[index];
        next = index + 1;
        i = kind;
    }
    return placed;
}

int PluralForm(std::string_view code, long n) {
    const std::string_view language = code.substr(0, code.find('_'));
    if (language == "ja" || language == "zh" || language == "ko") return 0;
    if (language == "fr" || language == "pt") return n > 1 ? 1 : 0;
    if (language == "pl") {
        if (n == 1) return 0;
        return n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20) ? 1 : 2;
    }
    if (language == "ru" || language == "uk") {
        if (n % 10 == 1 && n % 100 != 11) return 0;
        return n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20) ? 1 : 2;
    }
    return n != 1 ? 1 : 0;
}

std::string TrPlural(std::string_view singular, std::string_view plural, long n) {
    const Speaking& speaking = Current();
    if (speaking.catalogue)
        if (const std::string* translated = speaking.catalogue->find(singular)) {
            const std::string_view form = TMessageCatalogue::form(*translated, PluralForm(speaking.code, n));
            if (!form.empty()) return std::string(form);
        }
    return std::string(n == 1 ? singular : plural);
}

std::string TrContext(std::string_view context, std::string_view english) {
    const TMessageCatalogue* catalogue = Current().catalogue;
    if (catalogue) {
        // msgfmt keys a text with a context as the context, an EOT character and the text.
        std::string key;
        key.reserve(context.size() + 1 + english.size());
        key.append(context).append(1, '\x04').append(english);
        if (const std::string* translated = catalogue->find(key))
            return std::string(TMessageCatalogue::form(*translated, 0));
    }
    return std::string(english);
}

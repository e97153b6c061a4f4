#pragma once
// The language the game speaks. Every text a player reads is looked up by its English words with Tr, in
// the current language's catalogue (compiled from po/CODE.po and embedded as Locale\CODE.mo); English
// needs none, and a text a catalogue lacks shows in English. The rules never read a translated text, so
// the language changes nothing of the game but its words.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

struct TLanguage {
    std::string code; // as the catalogue is named: "de", "pt_BR"
    std::string name; // in the language itself: "Deutsch", "日本語"
};

// English first, then every language whose catalogue is embedded.
std::vector<TLanguage> Languages();
// The language's own name ("Deutsch"); the code itself for a language the game does not know.
std::string LanguageName(std::string_view code);
// Whether the game knows the language, catalogue or not.
bool KnownLanguage(std::string_view code);
// The code of the language spoken now: "en" until SetLanguage chooses another.
const std::string& CurrentLanguage();
// Speaks the language at once (its catalogue is read on first use and kept). One without a catalogue,
// or whose catalogue is damaged, leaves the game speaking English, and says so in a notice. True when
// the language asked for is spoken.
bool SetLanguage(std::string_view code);
// The language the player's system speaks, among ours ("en" when none of its languages is ours), read
// from the system once UseSystemLanguage has asked for it: until then (tests, tools, replays) it is English,
// so nothing headless depends on the machine's locale.
const std::string& SystemLanguage();
void UseSystemLanguage();
// The lines for the player SetLanguage has to tell (each once).
std::vector<std::string> TakeLanguageNotices();
// Drops every catalogue read and speaks English, so the next SetLanguage reads the resources again
// (for tests that put a catalogue of their own in a language's place).
void ForgetCatalogues();

// The text in the current language. Marked for xgettext (--keyword=Tr): pass the English words as a
// string literal where the text is written, so the catalogue's template finds them.
std::string Tr(std::string_view english);
// The same for a short text that means different things in different places ("Back" a key, "Back" a
// step): the context tells them apart in the catalogue (--keyword=TrContext:1c,2).
std::string TrContext(std::string_view context, std::string_view english);
// The words with their blanks filled in order: each %s or %d takes the next value, %1$s (to %9$s) the
// value of that number, so a translation may put them in its own order; %% is a percent sign. A blank
// without a value stays empty.
std::string Placed(std::string_view text, std::initializer_list<std::string_view> values);
// A text that counts: the singular or the plural English, or the catalogue's form for n in the current
// language's plural rule ("1 mission won", "5 missions won"; Polish and Russian have three forms). The
// caller puts the number in (the English words hold no placeholder).
std::string TrPlural(std::string_view singular, std::string_view plural, long n);
// The plural form for n in a language: gettext's Plural-Forms of the languages we know.
int PluralForm(std::string_view code, long n);
// Marks an English text kept in a table or a field (--keyword=TrMark) for the catalogue, untranslated:
// the game keeps and compares its English words, and Tr translates them only where they are drawn.
constexpr const char* TrMark(const char* english) {
    return english;
}

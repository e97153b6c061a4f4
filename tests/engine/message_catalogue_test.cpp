#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "engine/message_catalogue.h"
#include "engine/resources.h"
#include "engine/system_language.h"
#include "engine/words.h"

namespace {

// tests/fuzz/seeds/message_catalogue/de.po compiled by msgfmt --check, in each byte order (--endianness=big).
std::string SampleCatalogue(const char* name) {
    std::ifstream in(std::string(VEVU_SOURCE_DIR) + "/tests/fuzz/seeds/message_catalogue/" + name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void PutWord(std::string& bytes, std::size_t offset, std::uint32_t word) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(word >> (8 * i));
}

} // namespace

TEST(MessageCatalogue, ReadsWhatMsgfmtWritesInEitherByteOrder) {
    for (const char* name : {"de-little-endian.mo", "de-big-endian.mo"}) {
        SCOPED_TRACE(name);
        const std::string bytes = SampleCatalogue(name);
        ASSERT_FALSE(bytes.empty());
        TMessageCatalogue catalogue;
        ASSERT_EQ(catalogue.read(bytes).verdict, FileVerdict::Good);
        ASSERT_NE(catalogue.find("Music volume"), nullptr);
        EXPECT_EQ(*catalogue.find("Music volume"), "Musiklautstärke");
        ASSERT_NE(catalogue.find("one unit"), nullptr);
        EXPECT_EQ(TMessageCatalogue::form(*catalogue.find("one unit"), 0), "eine Einheit");
        EXPECT_EQ(TMessageCatalogue::form(*catalogue.find("one unit"), 1), "%d Einheiten");
        EXPECT_EQ(TMessageCatalogue::form(*catalogue.find("one unit"), 2), "") << "no third form";
        EXPECT_EQ(catalogue.find("The larva hatches"), nullptr) << "untranslated";
        EXPECT_EQ(catalogue.find("Replays"), nullptr) << "msgfmt leaves a fuzzy translation out";
        EXPECT_EQ(catalogue.find("Back"), nullptr) << "a text with a context is found only with it";
        EXPECT_EQ(catalogue.find(""), nullptr);
        EXPECT_EQ(catalogue.size(), 4u) << "the text with a context is kept under its context";
        EXPECT_EQ(catalogue.headerField("Language"), "de");
        EXPECT_EQ(catalogue.headerField("Lang"), "");
    }
}

TEST(MessageCatalogue, RefusesEveryDamageAndIsLeftEmpty) {
    const std::string good = SampleCatalogue("de-little-endian.mo");
    ASSERT_GT(good.size(), 28u);
    TMessageCatalogue catalogue;
    // Cut short anywhere: refused, or (cut in the hash table, which is not read) whole.
    for (std::size_t size = 0; size < good.size(); ++size) {
        const FileCheck check = catalogue.read(std::string_view(good).substr(0, size));
        if (check.verdict == FileVerdict::Good)
            EXPECT_EQ(catalogue.size(), 4u) << size;
        else
            EXPECT_EQ(catalogue.size(), 0u) << size;
    }
    const auto damaged = [&](std::size_t offset, std::uint32_t word) {
        std::string bytes = good;
        PutWord(bytes, offset, word);
        ASSERT_EQ(catalogue.read(good).verdict, FileVerdict::Good);
        const FileCheck check = catalogue.read(bytes);
        EXPECT_EQ(check.verdict, FileVerdict::Damaged) << offset;
        EXPECT_FALSE(check.why.empty());
        EXPECT_EQ(catalogue.size(), 0u) << "a refused file leaves nothing of the one before";
    };
    damaged(0, 0x12345678);  // not a catalogue
    damaged(4, 0x00020000);  // a revision we cannot read
    damaged(8, 0xFFFFFFFF);  // more texts than the file holds
    damaged(12, 0xFFFFFFF0); // the originals' table past the end (and wrapping round)
    damaged(16, static_cast<std::uint32_t>(good.size()));
    damaged(28 + 8, 0x7FFFFFFF);  // one text's length past the end
    damaged(28 + 12, 0xFFFFFFFF); // one text's offset past the end
    EXPECT_EQ(catalogue.read(std::string(TMessageCatalogue::kMaxBytes + 1, '\0')).verdict,
              FileVerdict::Damaged);

    // 200 one-letter originals all translated by the same 200 letters: each entry is within the file,
    // but holding them would take ten times the file. Refused, as its whole is no catalogue's.
    const std::uint32_t count = 200, originals = 28, translations = originals + count * 8;
    const std::uint32_t letters = translations + count * 8, text = letters + count;
    std::string overlapping(text + count + 1, 'a');
    PutWord(overlapping, 0, 0x950412de);
    PutWord(overlapping, 4, 0);
    PutWord(overlapping, 8, count);
    PutWord(overlapping, 12, originals);
    PutWord(overlapping, 16, translations);
    PutWord(overlapping, 20, 0);
    PutWord(overlapping, 24, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
        overlapping[letters + i] = static_cast<char>(i + 1);
        PutWord(overlapping, originals + i * 8, 1);
        PutWord(overlapping, originals + i * 8 + 4, letters + i);
        PutWord(overlapping, translations + i * 8, count);
        PutWord(overlapping, translations + i * 8 + 4, text);
    }
    const FileCheck check = catalogue.read(overlapping);
    EXPECT_EQ(check.verdict, FileVerdict::Damaged) << check.why;
    EXPECT_EQ(catalogue.size(), 0u);
}

TEST(Words, SpeaksAnEmbeddedCatalogueAndFallsBackToEnglishWithANotice) {
    static const std::string german = SampleCatalogue("de-little-endian.mo");
    static const std::string damaged = german.substr(0, 40);
    // The shipped catalogues these stand in for, put back at the end for the tests after this one.
    const ResourceData shippedGerman = OpenResource("incbin::Locale\\de.mo");
    const ResourceData shippedRussian = OpenResource("incbin::Locale\\ru.mo");
    ForgetCatalogues();
    RegisterResource("Locale\\de.mo", reinterpret_cast<const unsigned char*>(german.data()), german.size());
    RegisterResource("Locale\\ru.mo", reinterpret_cast<const unsigned char*>(damaged.data()), damaged.size());
    TakeLanguageNotices();

    EXPECT_EQ(Tr("Music volume"), "Music volume") << "English until a language is chosen";
    ASSERT_TRUE(SetLanguage("de"));
    EXPECT_EQ(CurrentLanguage(), "de");
    EXPECT_EQ(Tr("Music volume"), "Musiklautstärke");
    EXPECT_EQ(Tr("The larva hatches"), "The larva hatches")
        << "a text without a translation shows in English";
    EXPECT_EQ(TrContext("key", "Back"), "Zurück");
    EXPECT_EQ(TrPlural("one unit", "%d units", 1), "eine Einheit");
    EXPECT_EQ(TrPlural("one unit", "%d units", 0), "%d Einheiten");
    EXPECT_EQ(TrPlural("one mission", "missions", 2), "missions") << "untranslated: the English plural";
    EXPECT_EQ(TrContext("step", "Back"), "Back");
    EXPECT_TRUE(TakeLanguageNotices().empty());

    EXPECT_FALSE(SetLanguage("ru"));
    EXPECT_EQ(CurrentLanguage(), "en");
    EXPECT_EQ(Tr("Music volume"), "Music volume");
    std::vector<std::string> notices = TakeLanguageNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("Русский"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("English"), std::string::npos) << notices[0];
    EXPECT_FALSE(SetLanguage("ru")) << "asked again, it is told again";
    EXPECT_EQ(TakeLanguageNotices().size(), 1u);

    EXPECT_FALSE(SetLanguage("tlh")) << "no catalogue";
    EXPECT_EQ(CurrentLanguage(), "en");
    EXPECT_EQ(TakeLanguageNotices().size(), 1u);

    bool listsGerman = false;
    for (const TLanguage& language : Languages())
        listsGerman |= language.code == "de" && language.name == "Deutsch";
    EXPECT_EQ(Languages().front().code, "en");
    EXPECT_TRUE(listsGerman);
    ASSERT_TRUE(SetLanguage("en"));
    UnregisterResource("Locale\\de.mo");
    UnregisterResource("Locale\\ru.mo");
    if (shippedGerman) RegisterResource("Locale\\de.mo", shippedGerman.bytes, shippedGerman.size);
    if (shippedRussian) RegisterResource("Locale\\ru.mo", shippedRussian.bytes, shippedRussian.size);
    ForgetCatalogues();
}

TEST(Words, EveryShippedCatalogueReadsAndTranslatesTheGamesWords) {
    const std::vector<TLanguage> languages = Languages();
    EXPECT_EQ(languages.size(), 12u) << "English and eleven translations";
    for (const TLanguage& language : languages) {
        SCOPED_TRACE(language.code);
        ASSERT_TRUE(SetLanguage(language.code));
        EXPECT_NE(language.name, language.code);
        if (language.code != "en") {
            EXPECT_NE(Tr("Language"), "Language");
        }
    }
    ASSERT_TRUE(SetLanguage("en"));
    EXPECT_TRUE(TakeLanguageNotices().empty());
}

TEST(Words, PluralFormsFollowEachLanguagesRule) {
    // n: English/German, French/Brazilian, Polish, Russian/Ukrainian, Japanese.
    const struct {
        long n;
        int en, fr, pl, ru;
    } rows[] = {{0, 1, 0, 2, 2},  {1, 0, 0, 0, 0},  {2, 1, 1, 1, 1},  {5, 1, 1, 2, 2},   {11, 1, 1, 2, 2},
                {12, 1, 1, 2, 2}, {21, 1, 1, 2, 0}, {22, 1, 1, 1, 1}, {112, 1, 1, 2, 2}, {101, 1, 1, 2, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.n);
        EXPECT_EQ(PluralForm("de", row.n), row.en);
        EXPECT_EQ(PluralForm("pt_BR", row.n), row.fr);
        EXPECT_EQ(PluralForm("pl", row.n), row.pl);
        EXPECT_EQ(PluralForm("uk", row.n), row.ru);
        EXPECT_EQ(PluralForm("ja", row.n), 0);
    }
}

TEST(SystemLanguage, TakesTheFirstPreferenceWeSpeak) {
    const std::vector<std::string> ours = {"en", "de", "pt_BR", "zh_CN", "ja"};
    EXPECT_EQ(MatchLanguage({"de_AT.UTF-8"}, ours), "de");
    EXPECT_EQ(MatchLanguage({"de-DE"}, ours), "de");
    EXPECT_EQ(MatchLanguage({"pt_PT.utf8@euro"}, ours), "pt_BR") << "the same language, another region";
    EXPECT_EQ(MatchLanguage({"pt-br"}, ours), "pt_BR");
    EXPECT_EQ(MatchLanguage({"zh-Hans-CN"}, ours), "zh_CN");
    EXPECT_EQ(MatchLanguage({"zh_TW.UTF-8", "ja-JP"}, ours), "ja")
        << "traditional Chinese never takes simplified";
    EXPECT_EQ(MatchLanguage({"zh-Hant", "fr"}, ours), "en");
    EXPECT_EQ(MatchLanguage({"fi_FI", "en_GB", "de"}, ours), "en") << "English chosen before German";
    EXPECT_EQ(MatchLanguage({"C", "", "POSIX", "@", "de"}, ours), "de");
    EXPECT_EQ(MatchLanguage({}, ours), "en");
}

// The system's own answer, in the locale the system_language test starts the program in (LC_ALL
// de_DE.UTF-8: on Linux the locale itself, under Wine the user's UI language it makes, de-DE; Wine
// follows LC_ALL even where that locale is not installed, LANG and LC_MESSAGES only where it is).
// Skipped where no language is expected.
TEST(SystemLanguage, ThePlayersSystemChoosesTheFirstLanguage) {
    const char* expected = std::getenv("VEVU_EXPECTED_SYSTEM_LANGUAGE");
    if (!expected) GTEST_SKIP() << "only under the system_language test";
    FillResourceTable();
    EXPECT_EQ(SystemLanguage(), "en") << "until the game asks, nothing depends on the machine's language";
    UseSystemLanguage();
    EXPECT_EQ(SystemLanguage(), expected);
}

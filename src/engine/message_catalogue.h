#pragma once
// A compiled message catalogue, the .mo file Debian's msgfmt writes from a translator's .po: a header of
// seven 32-bit words (magic, revision, count, the offsets of the two tables of originals and
// translations, the hash table's size and offset), then per table `count` pairs of a length and an offset
// to a NUL-ended string. Either byte order. Read whole into a map keyed by the English text: every
// offset and length is checked against the file, so a damaged or huge file is refused, never read past.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/file_frame.h"

class TMessageCatalogue {
  public:
    // No catalogue of ours comes near this; a larger file is not one.
    static constexpr std::size_t kMaxBytes = 8u << 20;

    // Reads a .mo file. Damaged: not a catalogue (magic, revision), larger than kMaxBytes, or a count,
    // offset or length that reaches past the file, or texts that overlap so that holding them would
    // take more than the file; the catalogue is then left empty. An empty
    // translation is none (the English shows), and of an original given twice the first is kept.
    FileCheck read(std::string_view bytes);

    // The translation of an English text, or null when the catalogue has none. A text with plural forms
    // is found by its singular, and its forms are held one after the other, each ended by a NUL.
    const std::string* find(std::string_view english) const;
    // The plural form numbered `form` of a translation, or empty when it has no such form.
    static std::string_view form(const std::string& translation, int form);
    std::size_t size() const { return translations_.size(); }
    // The catalogue's header entry, the translation of "" ("Language: de\nPlural-Forms: ...").
    const std::string& header() const { return header_; }
    // One field of the header ("Language" -> "de"), empty when it has none.
    std::string headerField(std::string_view name) const;

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> translations_;
    std::string header_;
};

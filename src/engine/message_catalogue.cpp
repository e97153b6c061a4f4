#include "engine/message_catalogue.h"

#include <cstdint>
#include <optional>

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::size_t kHeaderBytes = 28;

// The file's 32-bit words in its own byte order, every read checked against its end.
class MoWords {
  public:
    MoWords(std::string_view bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

    std::optional<std::uint32_t> at(std::uint64_t offset) const {
        if (offset + 4 > bytes_.size()) return std::nullopt;
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            const auto byte = static_cast<unsigned char>(bytes_[offset + (bigEndian_ ? i : 3 - i)]);
            word = (word << 8) | byte;
        }
        return word;
    }

    // The string a table's entry at `entry` names: its length and offset, the bytes within the file.
    std::optional<std::string_view> string(std::uint64_t entry) const {
        const auto length = at(entry), offset = at(entry + 4);
        if (!length || !offset) return std::nullopt;
        if (std::uint64_t{*offset} + *length > bytes_.size()) return std::nullopt;
        return bytes_.substr(*offset, *length);
    }

  private:
    std::string_view bytes_;
    bool bigEndian_;
};

std::optional<bool> ByteOrder(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes) return std::nullopt;
    if (MoWords(bytes, false).at(0) == kMagic) return false;
    if (MoWords(bytes, true).at(0) == kMagic) return true;
    return std::nullopt;
}

} // namespace

FileCheck TMessageCatalogue::read(std::string_view bytes) {
    translations_.clear();
    header_.clear();
    if (bytes.size() > kMaxBytes) return FileCheck::damaged("it is far too large for a catalogue");
    const std::optional<bool> bigEndian = ByteOrder(bytes);
    if (!bigEndian) return FileCheck::damaged("it is not a compiled catalogue");
    const MoWords words(bytes, *bigEndian);
    // Only the major revision (the high half) changes the layout; 0 and 1 read alike for our entries.
    if ((*words.at(4) >> 16) > 1) return FileCheck::damaged("it is a catalogue of an unknown revision");
    const std::uint64_t count = *words.at(8), originals = *words.at(12), translated = *words.at(16);
    // Eight bytes an entry in each table: a count the file cannot hold is refused before any is read.
    if (originals + count * 8 > bytes.size() || translated + count * 8 > bytes.size())
        return FileCheck::damaged("its tables reach past its end");
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> read;
    std::string header;
    // msgfmt writes every text once, so what is held is never more than the file; entries that point at
    // the same long text again and again would otherwise hold it once for each.
    std::uint64_t held = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        const auto english = words.string(originals + i * 8), translation = words.string(translated + i * 8);
        if (!english || !translation) {
            return FileCheck::damaged("a text reaches past its end");
        }
        if (english->empty()) {
            if (header.empty()) header = std::string(*translation);
            continue;
        }
        // A text with plural forms holds "singular\0plural" and its forms one after the other: it is
        // looked up by its singular.
        const std::string_view singular = english->substr(0, english->find('\0'));
        // An original beginning with a NUL has no singular: it is no text, and never the header.
        if (singular.empty() || form(std::string(*translation), 0).empty() ||
            read.find(singular) != read.end())
            continue;
        held += singular.size() + translation->size();
        if (held > bytes.size()) return FileCheck::damaged("its texts overlap as no catalogue's do");
        read.emplace(std::string(singular), std::string(*translation));
    }
    translations_ = std::move(read);
    header_ = std::move(header);
    return FileCheck::good();
}

std::string_view TMessageCatalogue::form(const std::string& translation, int form) {
    std::string_view rest = translation;
    for (int i = 0; i < form; ++i) {
        const std::size_t end = rest.find('\0');
        if (end == std::string_view::npos) return {};
        rest.remove_prefix(end + 1);
    }
    return rest.substr(0, rest.find('\0'));
}

const std::string* TMessageCatalogue::find(std::string_view english) const {
    const auto found = translations_.find(english);
    return found == translations_.end() ? nullptr : &found->second;
}

std::string TMessageCatalogue::headerField(std::string_view name) const {
    std::string_view rest = header_;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.size() > name.size() && line.substr(0, name.size()) == name && line[name.size()] == ':') {
            line.remove_prefix(name.size() + 1);
            while (!line.empty() && line.front() == ' ')
                line.remove_prefix(1);
            return std::string(line);
        }
    }
    return {};
}

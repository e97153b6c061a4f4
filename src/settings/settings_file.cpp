#include "settings/settings_file.h"

#include "engine/file_store.h"
#include "engine/words.h"

namespace {

const PlayerFile& settingsFile() {
    static const PlayerFile file = [] {
        PlayerFile f;
        f.kind = PlayerFileKind::Settings;
        f.name = "settings.txt";
        f.title = TrMark("The settings file");
        f.fallback = TrMark("the default settings");
        f.version = tSettingsFile::kVersion;
        f.framed = false;
        f.maxBytes = TKeyValueFile::kMaxBytes;
        return f;
    }();
    return file;
}

} // namespace

tSettings tSettingsFile::load() {
    TKeyValueFile read(kVersion);
    const LoadedFile loaded = PlayerFiles().load(settingsFile(), [&read](std::string_view contents, std::uint32_t) {
        read = TKeyValueFile(kVersion);
        return read.read(contents, kVersion);
    });
    _notice = loaded.notice;
    tSettings settings;
    if (loaded.from == LoadedFile::From::Nothing) {
        _file = TKeyValueFile(kVersion);
        return settings;
    }
    _file = read;
    for (const std::string& name : _file.keys()) {
        if (const std::optional<std::string> value = _file.get(name)) settings.read(name, *value);
    }
    settings.keepInLimits();
    return settings;
}

std::string tSettingsFile::text(const tSettings& settings) {
    if (_file.keys().empty()) _file.addComment("The Vevu Zudevur's settings: the options screen writes them.");
    _file.setVersion(kVersion);
    for (const auto& [name, value] : settings.entries())
        _file.set(name, value);
    return _file.text();
}

void tSettingsFile::save(const tSettings& settings) {
    PlayerFiles().save(settingsFile(), text(settings));
}

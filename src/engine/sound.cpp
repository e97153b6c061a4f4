#include "engine/sound.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>

#include "engine/clock.h"
#include "engine/platform.h"
#include "engine/resources.h"

namespace {
// The mixer lock: the audio thread holds it while it mixes, the game while it changes a channel.
std::mutex& mixerLock() {
    static std::mutex* lock = new std::mutex; // outlives static destruction: the audio thread may still ask
    return *lock;
}

std::vector<std::shared_ptr<TChannel>>& activeChannels() {
    static auto* channels = new std::vector<std::shared_ptr<TChannel>>;
    return *channels;
}

SDL_AudioDeviceID audioDevice = 0;
bool audioWanted = false;       // the windowed game opened the sound: a device that appears is opened
SoundListener soundListener = nullptr;
std::atomic<bool> muted{false};         // read by the audio thread
std::atomic<bool> playbackQuiet{false}; // read by the audio thread
float musicVolume = 1.0f;               // guarded by the mixer lock
float effectsVolume = 1.0f;

void audioCallback(void*, Uint8* stream, int length) {
    MixAudio(reinterpret_cast<std::int16_t*>(stream), length / static_cast<int>(2 * sizeof(std::int16_t)));
}

// Sums above three quarters of full scale are bent toward full scale instead of clipping: the curve
// is continuous and rising, and never reaches full scale however many sounds pile up.
float softLimit(float x) {
    constexpr float knee = 0.75f;
    const float magnitude = std::fabs(x);
    if (magnitude <= knee) return x;
    const float over = (magnitude - knee) / (1.0f - knee);
    const float bent = knee + (1.0f - knee) * over / (1.0f + over);
    return x < 0 ? -bent : bent;
}

// vorbisfile reads the sound from memory through these.
struct MemoryStream {
    const unsigned char* bytes;
    std::size_t size;
    std::size_t position;
};

size_t readMemory(void* out, size_t size, size_t count, void* source) {
    auto* stream = static_cast<MemoryStream*>(source);
    if (size == 0) return 0;
    const std::size_t wanted = size * count, left = stream->size - stream->position;
    const std::size_t taken = std::min(wanted, left) / size * size;
    std::memcpy(out, stream->bytes + stream->position, taken);
    stream->position += taken;
    return taken / size;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* stream = static_cast<MemoryStream*>(source);
    ogg_int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<ogg_int64_t>(stream->position)
                                            : static_cast<ogg_int64_t>(stream->size);
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(stream->size)) return -1;
    stream->position = static_cast<std::size_t>(target);
    return 0;
}

long tellMemory(void* source) {
    return static_cast<long>(static_cast<MemoryStream*>(source)->position);
}

// An Ogg file that stops short of its end-of-stream page, or whose last page runs past the end, is
// truncated. vorbisfile would decode the part it has; the game must not play half a sound.
bool oggComplete(const unsigned char* bytes, std::size_t size) {
    std::size_t at = 0;
    bool endOfStream = false;
    while (at < size) {
        if (size - at < 27 || std::memcmp(bytes + at, "OggS", 4) != 0) return false;
        const std::size_t segments = bytes[at + 26];
        if (size - at < 27 + segments) return false;
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i)
            body += bytes[at + 27 + i];
        const std::size_t pageSize = 27 + segments + body;
        if (size - at < pageSize) return false;
        endOfStream = (bytes[at + 5] & 0x04) != 0;
        at += pageSize;
    }
    return endOfStream;
}

// Brings a sound to the mixer's rate with SDL's own converter (the game's sounds are recorded at 44.1 or
// 22.05 kHz), whose band-limited filter adds none of the images a straight line between samples would.
// Empty when SDL cannot convert.
std::vector<std::int16_t> resample(const std::vector<std::int16_t>& pcm, int channels, long rate) {
    if (rate == MIX_RATE || pcm.empty()) return pcm;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, static_cast<Uint8>(channels), static_cast<int>(rate),
                          AUDIO_S16SYS, static_cast<Uint8>(channels), MIX_RATE) < 0)
        return {};
    cvt.len = static_cast<int>(pcm.size() * sizeof(std::int16_t));
    std::vector<Uint8> buffer(static_cast<std::size_t>(cvt.len) * static_cast<std::size_t>(cvt.len_mult));
    std::memcpy(buffer.data(), pcm.data(), static_cast<std::size_t>(cvt.len));
    cvt.buf = buffer.data();
    if (SDL_ConvertAudio(&cvt) != 0) return {};
    const std::size_t frames = static_cast<std::size_t>(cvt.len_cvt) / sizeof(std::int16_t) / channels;
    std::vector<std::int16_t> out(frames * channels);
    std::memcpy(out.data(), buffer.data(), out.size() * sizeof(std::int16_t));
    return out;
}

// A device came (back): the one-shots started meanwhile are where the clock says they would be heard, so
// they do not all start together now, and those heard out by the clock are over. Mixer lock held.
void catchUpWithTheClock() {
    const int now = Millis();
    for (const std::shared_ptr<TChannel>& channel : activeChannels())
        channel->catchUp(now);
}
} // namespace

std::shared_ptr<TSound> DecodeOgg(const unsigned char* bytes, std::size_t size, int flags) {
    if (!bytes || !oggComplete(bytes, size)) return nullptr;
    MemoryStream stream{bytes, size, 0};
    OggVorbis_File file;
    const ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    if (ov_open_callbacks(&stream, &file, nullptr, 0, callbacks) != 0) return nullptr;
    const vorbis_info* info = ov_info(&file, -1);
    if (!info || (info->channels != 1 && info->channels != 2) || info->rate <= 0) {
        ov_clear(&file);
        return nullptr;
    }
    const int channels = info->channels;
    const long rate = info->rate;
    std::vector<std::int16_t> pcm;
    char buffer[8192];
    int section = 0;
    bool failed = false;
    for (;;) {
        long got = ov_read(&file, buffer, sizeof(buffer), 0, 2, 1, &section);
        if (got == 0) break;
        if (got < 0) {
            failed = true; // a hole or a damaged packet
            break;
        }
        const vorbis_info* now = ov_info(&file, section);
        if (!now || now->channels != channels || now->rate != rate) {
            failed = true; // chained streams of different shapes are not something the game plays
            break;
        }
        const std::size_t samples = static_cast<std::size_t>(got) / sizeof(std::int16_t);
        const std::size_t old = pcm.size();
        pcm.resize(old + samples);
        std::memcpy(pcm.data() + old, buffer, samples * sizeof(std::int16_t));
    }
    ov_clear(&file);
    if (failed || pcm.empty()) return nullptr;
    auto sound = std::make_shared<TSound>();
    sound->channels = channels;
    sound->loop = (flags & SOUND_LOOP) != 0;
    sound->music = (flags & SOUND_MUSIC) != 0;
    sound->pcm = resample(pcm, channels, rate);
    if (sound->pcm.empty()) return nullptr;
    return sound;
}

std::shared_ptr<TSound> TSound::Load(const std::string& path, int flags) {
    ResourceData data = OpenResource(path);
    if (!data) return nullptr;
    return DecodeOgg(data.bytes, data.size, flags);
}

void TChannel::endIfHeardOut(int now) {
    if (audioDevice != 0 || !_playing || !_sound || _sound->loop) return;
    const std::int64_t heard = std::int64_t{std::max(MillisBetween(_startedAt, now), 0)} * MIX_RATE / 1000;
    if (heard >= _sound->FrameCount()) _playing = false;
}

void TChannel::catchUp(int now) {
    if (!_playing || !_sound || _sound->loop) return;
    const std::int64_t heard = std::int64_t{std::max(MillisBetween(_startedAt, now), 0)} * MIX_RATE / 1000;
    if (heard >= _sound->FrameCount()) {
        _playing = false;
    } else {
        _position = std::max(_position, heard);
    }
}

void TChannel::dropFinished(bool byTheClock) {
    auto& active = activeChannels();
    if (byTheClock && audioDevice == 0) {
        const int now = Millis();
        for (const std::shared_ptr<TChannel>& channel : active)
            channel->endIfHeardOut(now);
    }
    // The sound is released with the channel, on the thread that drops it.
    for (const std::shared_ptr<TChannel>& channel : active) {
        if (!channel->_playing) channel->_sound.reset();
    }
    active.erase(std::remove_if(active.begin(), active.end(),
                                [](const std::shared_ptr<TChannel>& channel) { return !channel->_playing; }),
                 active.end());
}

std::shared_ptr<TChannel> TSound::Play(std::shared_ptr<TChannel> channel) {
    if (!channel) channel = std::make_shared<TChannel>();
    std::shared_ptr<TSound> self;
    // Sounds are held by shared pointers; one made on the stack plays nothing rather than dangle.
    try {
        self = std::const_pointer_cast<TSound>(shared_from_this());
    } catch (const std::bad_weak_ptr&) {
        return channel;
    }
    {
        std::lock_guard<std::mutex> guard(mixerLock());
        TChannel::dropFinished(true);
        channel->_sound = self;
        channel->_position = 0;
        channel->_playing = FrameCount() > 0;
        channel->_startedAt = Millis();
        auto& active = activeChannels();
        if (channel->_playing && std::find(active.begin(), active.end(), channel) == active.end()) {
            active.push_back(channel);
        }
    }
    if (soundListener && FrameCount() > 0) soundListener(*self, true);
    return channel;
}

void TChannel::Stop() {
    std::shared_ptr<TSound> stopped;
    {
        std::lock_guard<std::mutex> guard(mixerLock());
        endIfHeardOut(Millis()); // a sound heard out has ended, whether or not anyone asked yet
        if (_playing) stopped = _sound;
        _playing = false;
        _sound.reset();
        _position = 0;
    }
    if (stopped && soundListener) soundListener(*stopped, false);
}

void ListenToSounds(SoundListener listener) {
    soundListener = listener;
}

bool TChannel::Playing() {
    std::lock_guard<std::mutex> guard(mixerLock());
    endIfHeardOut(Millis());
    return _playing;
}

void TChannel::SetVolume(float volume) {
    std::lock_guard<std::mutex> guard(mixerLock());
    _volume = std::clamp(volume, 0.0f, 1.0f);
}

void MixAudio(std::int16_t* out, int frames) {
    if (!out || frames <= 0) return;
    // Sums are built in a buffer of floats (full scale 1.0), one chunk at a time.
    constexpr int kChunk = 1024;
    float sum[kChunk * 2];
    std::lock_guard<std::mutex> guard(mixerLock());
    auto& active = activeChannels();
    for (int done = 0; done < frames; done += kChunk) {
        const int count = std::min(kChunk, frames - done);
        std::fill(sum, sum + count * 2, 0.0f);
        for (const std::shared_ptr<TChannel>& channel : active) {
            if (!channel->_playing || !channel->_sound) continue;
            const TSound& sound = *channel->_sound;
            const std::int64_t length = sound.FrameCount();
            const float gain = channel->_volume * (sound.music ? musicVolume : effectsVolume) / 32768.0f;
            const std::int16_t* pcm = sound.pcm.data();
            for (int f = 0; f < count; ++f) {
                if (channel->_position >= length) {
                    if (!sound.loop || length == 0) {
                        channel->_playing = false;
                        break;
                    }
                    channel->_position = 0;
                }
                const std::int64_t at = channel->_position++;
                if (sound.channels == 2) {
                    sum[f * 2] += pcm[at * 2] * gain;
                    sum[f * 2 + 1] += pcm[at * 2 + 1] * gain;
                } else {
                    const float sample = pcm[at] * gain; // mono: centred
                    sum[f * 2] += sample;
                    sum[f * 2 + 1] += sample;
                }
            }
            // A one-shot that just played its last frame is over now, not one buffer later.
            if (!sound.loop && channel->_position >= length) channel->_playing = false;
        }
        const float volume = muted || playbackQuiet ? 0.0f : 32767.0f;
        for (int i = 0; i < count * 2; ++i) {
            out[done * 2 + i] = static_cast<std::int16_t>(std::lround(softLimit(sum[i]) * volume));
        }
    }
    TChannel::dropFinished(false);
}

void SetMusicVolume(float volume) {
    std::lock_guard<std::mutex> guard(mixerLock());
    musicVolume = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 1.0f;
}

void SetEffectsVolume(float volume) {
    std::lock_guard<std::mutex> guard(mixerLock());
    effectsVolume = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 1.0f;
}

float MusicVolume() {
    std::lock_guard<std::mutex> guard(mixerLock());
    return musicVolume;
}

float EffectsVolume() {
    std::lock_guard<std::mutex> guard(mixerLock());
    return effectsVolume;
}

void SetAudioMuted(bool mute) {
    muted = mute;
}

bool AudioMuted() {
    return muted;
}

void SetPlaybackQuiet(bool quiet) {
    playbackQuiet = quiet;
}

bool PlaybackQuiet() {
    return playbackQuiet;
}

int PlayingChannelCount() {
    std::lock_guard<std::mutex> guard(mixerLock());
    TChannel::dropFinished(true);
    return static_cast<int>(activeChannels().size());
}

void StopAllChannels() {
    std::lock_guard<std::mutex> guard(mixerLock());
    for (const auto& channel : activeChannels()) {
        channel->_playing = false;
        channel->_sound.reset();
    }
    activeChannels().clear();
}

bool OpenAudio() {
    audioWanted = true;
    if (audioDevice != 0) return true;
    // The audio subsystem stays up without a device, so that SDL reports one plugged in later.
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{}, have{};
    want.freq = MIX_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = MIX_BUFFER_FRAMES;
    want.callback = audioCallback;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) return false; // no sound device: the game runs silent
    {
        std::lock_guard<std::mutex> guard(mixerLock());
        catchUpWithTheClock();
        audioDevice = device;
    }
    SDL_PauseAudioDevice(audioDevice, 0);
    return true;
}

namespace {
// The device went away (headphones unplugged, a USB card removed): the game goes on silent, its one-shots
// ending by the clock, until a device appears.
void dropLostDevice() {
    if (audioDevice == 0) return;
    SDL_CloseAudioDevice(audioDevice); // waits for the audio thread: no mixing goes on after this
    std::lock_guard<std::mutex> guard(mixerLock());
    audioDevice = 0;
    for (const std::shared_ptr<TChannel>& channel : activeChannels())
        channel->catchUp(Millis()); // heard so far: the clock goes on from here
}
} // namespace

void CloseAudio() {
    audioWanted = false;
    if (audioDevice != 0) SDL_CloseAudioDevice(audioDevice);
    audioDevice = 0;
    if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AudioOpen() {
    return audioDevice != 0;
}

namespace engine_detail {
void HandleAudioDeviceEvent(const SDL_Event& event) {
    if (event.adevice.iscapture) return;
    if (event.type == SDL_AUDIODEVICEREMOVED) {
        if (audioDevice != 0 && event.adevice.which == audioDevice) dropLostDevice();
    } else if (event.type == SDL_AUDIODEVICEADDED && audioWanted && audioDevice == 0) {
        OpenAudio();
    }
}

unsigned AudioDeviceId() {
    return audioDevice;
}
} // namespace engine_detail

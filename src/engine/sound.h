#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Sounds decoded fully at load (OGG Vorbis to 16-bit PCM at the mixer's rate), channels that play them,
// and the mixer. The mixer runs on SDL's audio thread at 44.1 kHz stereo; every channel operation takes
// the mixer lock, so the game may call them while mixing goes on. Without a sound device the game runs
// silent and a one-shot channel ends once its sound's length has passed on the engine clock, as if it
// had been heard; tests run the mixer by hand with MixAudio.

constexpr int SOUND_LOOP = 1;  // flag: the sound loops until its channel is stopped
constexpr int SOUND_MUSIC = 2; // flag: the sound is music, heard at the music volume (else the effects')

constexpr int MIX_RATE = 44100;
constexpr int MIX_BUFFER_FRAMES = 1024;

class TChannel;

class TSound : public std::enable_shared_from_this<TSound> {
  public:
    // Null when the path cannot be opened or is not OGG Vorbis that decodes.
    static std::shared_ptr<TSound> Load(const std::string& path, int flags = 0);
    // Starts the sound on channel (stopping what it played) or on a fresh channel; answers the channel.
    std::shared_ptr<TChannel> Play(std::shared_ptr<TChannel> channel = nullptr);

    bool loop = false;
    bool music = false;
    int channels = 1;              // 1 mono, 2 stereo
    std::vector<std::int16_t> pcm; // interleaved, at MIX_RATE
    int FrameCount() const { return channels > 0 ? static_cast<int>(pcm.size()) / channels : 0; }
};

// One playing instance of a sound. A new channel is idle: Playing answers false and Stop does nothing.
class TChannel {
  public:
    TChannel() = default;
    void Stop();
    bool Playing();
    // Volume 0..1 (1 by default).
    void SetVolume(float volume);
    // The engine's, when a sound device comes or goes (mixer lock held): a one-shot moves on to where the
    // clock says it is heard by now, or ends.
    void catchUp(int now);

  private:
    friend class TSound;
    friend void MixAudio(std::int16_t* out, int frames);
    friend int PlayingChannelCount();
    friend void StopAllChannels();
    // Without a device nothing mixes: a one-shot is over once its length has passed since it started.
    void endIfHeardOut(int now);

    // Lets the mixer drop every channel that stopped, after ending the one-shots heard out when byTheClock
    // (the game's thread only: the mixer's thread never reads the clock). Mixer lock held.
    static void dropFinished(bool byTheClock);
    std::shared_ptr<TSound> _sound; // guarded by the mixer lock
    std::int64_t _position = 0;     // next frame to play
    bool _playing = false;
    float _volume = 1.0f;
    int _startedAt = 0; // engine clock reading when the sound started
};

// Opens the sound device (44.1 kHz stereo, 1024 frames). False (and silent) when there is none.
bool OpenAudio();
void CloseAudio();
bool AudioOpen();
// Mixes every playing channel into frames stereo frames of out (interleaved left, right), limiting the sum
// softly. This is what the audio thread calls; tests call it directly.
void MixAudio(std::int16_t* out, int frames);
// The player's volumes, 0..1 of the amplitude (1 by default): every music channel, and every other one.
void SetMusicVolume(float volume);
void SetEffectsVolume(float volume);
float MusicVolume();
float EffectsVolume();
// Muted, the mixer goes on playing every channel but its output is silence (the window without focus).
void SetAudioMuted(bool muted);
bool AudioMuted();
// A replay played fast or jumping ahead undrawn: its sounds are silent and its pad rumbles not felt,
// whatever the window's focus does meanwhile (the focus coming back unmutes only what it muted).
void SetPlaybackQuiet(bool quiet);
bool PlaybackQuiet();
// Channels currently playing.
int PlayingChannelCount();
// Stops every channel.
void StopAllChannels();
// Told of every sound that starts playing and of every playing channel stopped (sounds that end on
// their own are not told); the replays write them down. Null: nobody listens.
using SoundListener = void (*)(const TSound& sound, bool started);
void ListenToSounds(SoundListener listener);
// Decodes OGG Vorbis held in memory into a sound; null on any error.
std::shared_ptr<TSound> DecodeOgg(const unsigned char* bytes, std::size_t size, int flags);

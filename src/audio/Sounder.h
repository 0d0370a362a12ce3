#pragma once
// The sound manager: the sound device, every loaded sound and stream, and the streaming
// thread that refills the playing streams. Sounds loaded twice by name share their
// samples through duplicated buffers; streams loaded twice with sharing are one object,
// counted by its holders. Every call is made from the main thread; the streaming thread
// is the only other thread, and one lock guards what the two share: the active list, the
// stop flag and the state of every listed stream.
#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/Sound.h"
#include "audio/StreamSound.h"
#include "core/String.h"
#include "platform/sound/SoundDevice.h"

class Sounder {
public:
    // Smallest buffer of a sound; a shorter file is followed by silence.
    static constexpr uint32_t kMinSoundBytes = 0x2000;
    // Mode of PlayStream: repeat the file until stopped.
    static constexpr int kLoop = 1;

    Sounder();
    ~Sounder();
    Sounder(const Sounder&) = delete;
    Sounder& operator=(const Sounder&) = delete;

    // Opens the sound device with a primary format of 16-bit stereo at the rate; any other
    // channel count or depth is refused. A device that cannot be made is a fatal error.
    void Init(snd::DeviceKind kind, int channels, uint32_t samplesPerSecond, int bitsPerSample);
    // Takes a device opened by the caller (a test's null device).
    void Init(std::unique_ptr<snd::SoundDevice> device);
    snd::SoundDevice* Device() { return device_.get(); }

    // Starts the streaming thread; once only.
    void StartStreamThread();
    // Stops the thread, then every sound and stream, then closes the device.
    void Shutdown();

    // Null for an empty name. A file that cannot be read gives a sound without a buffer,
    // which plays nothing; its reason is in the debug log.
    Sound* LoadSound(const String& name, int32_t kind, bool share);
    StreamSound* LoadStream(const String& name, int32_t kind, bool share);

    // Sets the volume; a sound that is already playing keeps playing, otherwise it starts
    // from its beginning. BufferLost when the device still holds the buffer's memory.
    snd::Result Play(Sound* sound, float volume, uint32_t playFlags);
    // Sets the volume and, with mode kLoop, looping; a stream not yet active is started
    // from its beginning and handed to the streaming thread.
    void PlayStream(StreamSound* stream, float volume, int mode);
    void StopStream(StreamSound* stream);
    bool IsStreamActive(StreamSound* stream);
    // Drops one holder of the stream; the last one stops and destroys it.
    void ReleaseStream(StreamSound* stream);
    void ReleaseSound(Sound* sound);

    // One pass of the streaming thread over the active streams, under the lock.
    void UpdateStreams();
    // A device with no clock of its own (the null one) plays only when told: this plays
    // the next `seconds` of it in short steps, refilling the streams after each, so clips
    // and spoken lines end after their own length. A device that keeps time ignores it.
    void PlayOut(double seconds);

    // Index of the first entry named key in a table sorted by name, or -1.
    template <typename T>
    static int FindByName(const std::vector<T*>& table, const char* key);

    const std::vector<Sound*>& SoundTable() const { return soundTable_; }
    const std::vector<StreamSound*>& StreamTable() const { return streamTable_; }
    int SoundCount() const { return int(sounds_.size()); }
    int StreamCount() const { return int(streams_.size()); }
    // Streams the thread refills; read under the lock.
    int ActiveStreamCount();

private:
    static bool NameBefore(const Sound* sound, const char* key) { return Compare(sound, key) < 0; }
    // Names are upper-cased by the loaders and compared as unsigned bytes.
    static int Compare(const Sound* sound, const char* key) { return std::strcmp(sound->Name().CStr(), key); }
    template <typename T>
    static void InsertSorted(std::vector<T*>& table, T* entry);

    // Makes and fills the buffer of a fresh sound; false when its file cannot be read.
    bool Read(Sound& sound);
    bool Read(StreamSound& stream);
    Sound* DuplicateOf(Sound& original);
    void CommitPlaces(Sound& sound);
    void StopStreamLocked(StreamSound& stream);
    void UpdateStreamsLocked();
    void StreamThreadProc();
    void StopStreamThread();

    std::unique_ptr<snd::SoundDevice> device_;
    std::vector<std::unique_ptr<Sound>> sounds_;
    std::vector<std::unique_ptr<StreamSound>> streams_;
    std::vector<Sound*> soundTable_;
    std::vector<StreamSound*> streamTable_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    bool wakeSignalled_ = false;  // the wake event: set by a signal, cleared by the wait
    bool stop_ = false;
    std::vector<StreamSound*> active_;
    double playOutFrames_ = 0.0;  // output frames due but not yet played, below one
};

template <typename T>
int Sounder::FindByName(const std::vector<T*>& table, const char* key) {
    const auto found = std::lower_bound(table.begin(), table.end(), key, NameBefore);
    if (found == table.end() || Compare(*found, key) != 0) return -1;
    return int(found - table.begin());
}

template <typename T>
void Sounder::InsertSorted(std::vector<T*>& table, T* entry) {
    // Equal names go after the ones already there.
    const char* key = entry->Name().CStr();
    const auto place =
        std::upper_bound(table.begin(), table.end(), key, [](const char* k, const T* s) { return Compare(s, k) > 0; });
    table.insert(place, entry);
}

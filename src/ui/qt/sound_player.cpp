#include "ui/qt/sound_player.h"

#include <SDL.h>

#include <chrono>

#include "dialog/media_info.h"

namespace xamo {
namespace {

// Longer recordings are refused: SDL reads the whole file into memory.
constexpr std::uint64_t kMaxSoundBytes = 256u << 20;

struct AudioSubsystem {
    bool ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    ~AudioSubsystem() {
        if (ok) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

struct WaveBuffer {
    Uint8* data = nullptr;
    Uint32 length = 0;
    ~WaveBuffer() {
        if (data) SDL_FreeWAV(data);
    }
};

struct Device {
    SDL_AudioDeviceID id = 0;
    ~Device() {
        if (id != 0) SDL_CloseAudioDevice(id);
    }
};

void wait(std::chrono::milliseconds span, const std::function<void()>& keep_alive,
          const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + span;
    while (!done() && std::chrono::steady_clock::now() < until) {
        if (keep_alive) keep_alive();
        SDL_Delay(5);
    }
}

}  // namespace

bool play_wave_file(const std::string& path, const std::function<void()>& keep_alive,
                    std::string* why) {
    auto fail = [why](const std::string& reason, bool from_sdl) {
        if (why) *why = from_sdl ? reason + " (" + SDL_GetError() + ")" : reason;
        return false;
    };
    // Our own header check first: a hostile header never reaches SDL's decoder.
    const auto info = wav_info(path);
    if (!info || info->data_size == 0 || info->data_size > kMaxSoundBytes)
        return fail("plik nie jest poprawnym plikiem dźwiękowym WAV albo jest za duży", false);
    AudioSubsystem audio;
    if (!audio.ok) return fail("brak urządzenia dźwiękowego", true);
    SDL_AudioSpec spec{};
    WaveBuffer wave;
    if (!SDL_LoadWAV(path.c_str(), &spec, &wave.data, &wave.length))
        return fail("nie można odczytać dźwięku z pliku", true);
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to the device's format itself.
    Device device{SDL_OpenAudioDevice(nullptr, 0, &spec, &obtained, 0)};
    if (device.id == 0) return fail("nie można otworzyć urządzenia dźwiękowego", true);
    if (SDL_QueueAudio(device.id, wave.data, wave.length) != 0)
        return fail("urządzenie dźwiękowe nie przyjęło dźwięku", true);
    SDL_PauseAudioDevice(device.id, 0);

    const int frame = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    const auto seconds =
        static_cast<double>(wave.length) / (static_cast<double>(spec.freq) * frame);
    // A device that stops taking samples cannot keep us here: five seconds beyond the sound.
    const auto limit = std::chrono::milliseconds(static_cast<long long>(seconds * 1000) + 5000);
    wait(limit, keep_alive, [&] { return SDL_GetQueuedAudioSize(device.id) == 0; });
    // The last buffer the device took from the queue is still being played.
    const auto tail = std::chrono::milliseconds(1000LL * obtained.samples / obtained.freq + 20);
    wait(tail, keep_alive, [] { return false; });
    return true;
}

}  // namespace xamo

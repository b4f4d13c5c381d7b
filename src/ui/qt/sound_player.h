// Wave files played through SDL to their end before the caller goes on.
#pragma once

#include <functional>
#include <string>

namespace xamo {

// Plays the file synchronously; `keep_alive` runs every few milliseconds while it plays (the
// window is repainted meanwhile). False when the file cannot be played: a broken header, no
// audio device, or an error of SDL. Nothing is played instead, not even a system sound. `why`,
// when given, receives the reason in Polish.
bool play_wave_file(const std::string& path, const std::function<void()>& keep_alive,
                    std::string* why = nullptr);

}  // namespace xamo

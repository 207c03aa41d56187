// The least a player of modules does: libopenmpt renders 16-bit stereo straight into SDL's
// buffer, on the device the jukebox opens through a sound server (44100 Hz, periods of 1024
// frames, 500 ms kept queued). What this costs is the floor under the jukebox's CPU while
// playing; cpu_share.py measures both on the same machine.
//
// Usage: floor_player <module>. Plays it over and over until killed; exit code 1 when the
// module or the device does not open.
#include <SDL.h>
#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace {

constexpr int kRate = 44100;

void render(void* module, Uint8* stream, int length)
{
    const std::size_t frames = static_cast<std::size_t>(length) / (2 * sizeof(std::int16_t));
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    const std::size_t got = static_cast<openmpt::module*>(module)->read_interleaved_stereo(kRate, frames, out);
    std::fill(out + 2 * got, out + 2 * frames, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::ifstream file(argv[1], std::ios::binary);
    std::unique_ptr<openmpt::module> module;
    try {
        module = std::make_unique<openmpt::module>(file);
    } catch (...) {
        return 1;
    }
    module->set_repeat_count(-1);
    setenv("PULSE_LATENCY_MSEC", "500", 0);
    if (SDL_Init(SDL_INIT_AUDIO) != 0)
        return 1;
    SDL_AudioSpec wanted = {};
    wanted.freq = kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = render;
    wanted.userdata = module.get();
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0)
        return 1;
    SDL_PauseAudioDevice(device, 0);
    for (;;)
        pause();
}

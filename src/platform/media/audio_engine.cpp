// The SDL audio device calls the mixer on its own thread; without it the game thread renders.
#include "platform/media/audio_engine.h"

#include <SDL.h>

#include "platform/log.h"
#include "platform/media/decoded_file.h"

namespace taviro::platform::media {
namespace {

// The device's buffer: about 12 ms at 44.1 kHz, short enough for sounds to start at once.
constexpr Uint16 kDeviceBufferFrames = 512;
// Without a device the mixer renders in pieces of this size.
constexpr int kRenderChunkFrames = 1024;

void RenderIntoDevice(void* mixer, Uint8* stream, int length) {
    static_cast<Mixer*>(mixer)->Render(reinterpret_cast<float*>(stream),
                                       length / static_cast<int>(sizeof(float) * kMixChannels));
}

}  // namespace

AudioEngine::AudioEngine(const Clock& clock, bool useDevice, const std::string& soundFontPath)
    : clock_(clock),
      soundFonts_(soundFontPath.empty() ? SoundFontLibrary::kDefaultPath : soundFontPath),
      renderStartMs_(clock.NowMs()) {
    if (useDevice) OpenDevice();
}

AudioEngine::~AudioEngine() { CloseDevice(); }

void AudioEngine::OpenDevice() {
    if (device_ != 0) return;
    if (awaitingDevice_) {
        // The clock's rendering starts now, should no device open.
        awaitingDevice_ = false;
        renderStartMs_ = clock_.NowMs();
        renderedFrames_ = 0;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        log::Error(std::string("No sound: ") + SDL_GetError());
        return;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = kMixRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = kMixChannels;
    wanted.samples = kDeviceBufferFrames;
    wanted.callback = RenderIntoDevice;
    wanted.userdata = &mixer_;
    SDL_AudioSpec obtained{};
    // SDL converts to whatever the device really takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        log::Error(std::string("No sound: ") + SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
}

void AudioEngine::CloseDevice() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<AudioSource> AudioEngine::Open(const std::string& path, std::string& error) {
    if (IsMidiFileName(path)) return OpenMidiFile(path, soundFonts_, error);
    return OpenDecodedFile(path, error);
}

void AudioEngine::Pump() {
    if (device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) {
        // The device went away: the game goes on, silent, on the clock.
        log::Error("The sound device has gone: the game goes on without sound.");
        CloseDevice();
        renderStartMs_ = clock_.NowMs();
        renderedFrames_ = 0;
    }
    if (device_ == 0 && !awaitingDevice_) RenderToClock();
    mixer_.CollectRetired();
}

void AudioEngine::RenderToClock() {
    const int64_t dueFrames = (clock_.NowMs() - renderStartMs_) * kMixRate / 1000;
    if (dueFrames <= renderedFrames_) return;
    buffer_.resize(static_cast<size_t>(kRenderChunkFrames) * kMixChannels);
    while (renderedFrames_ < dueFrames) {
        int frames = static_cast<int>(std::min<int64_t>(kRenderChunkFrames, dueFrames - renderedFrames_));
        mixer_.Render(buffer_.data(), frames);
        renderedFrames_ += frames;
    }
}

}  // namespace taviro::platform::media

// Asking each library for its version.
#include "platform/sdl/library_versions.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <imgui.h>

#include "platform/media/media_versions.h"

namespace taviro::platform {
namespace {

std::string Version(const char* name, int major, int minor, int patch) {
    return std::string(name) + " " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(patch);
}

}  // namespace

std::vector<std::string> LibraryVersions() {
    SDL_version sdl;
    SDL_GetVersion(&sdl);
    const SDL_version* image = IMG_Linked_Version();
    const SDL_version* ttf = TTF_Linked_Version();
    const int fontconfig = FcGetVersion();
    std::vector<std::string> versions{
        Version("SDL", sdl.major, sdl.minor, sdl.patch),
        Version("SDL_image", image->major, image->minor, image->patch),
        Version("SDL_ttf", ttf->major, ttf->minor, ttf->patch),
        Version("fontconfig", fontconfig / 10000, fontconfig / 100 % 100, fontconfig % 100),
        std::string("Dear ImGui ") + ImGui::GetVersion()};
    for (std::string& media : media::MediaLibraryVersions()) versions.push_back(std::move(media));
    return versions;
}

}  // namespace taviro::platform

# Every third-party library the player uses, found on the system (the Makefile installs them).
find_package(PkgConfig REQUIRED)
find_package(SDL2 2.26 REQUIRED CONFIG)
# SDL2_image's version file is broken on Debian 12: no version argument here.
find_package(SDL2_image REQUIRED CONFIG)
find_package(SDL2_ttf 2.20 REQUIRED CONFIG)
find_package(Fontconfig REQUIRED)
find_package(GIF 5 REQUIRED)
find_package(nlohmann_json 3.11 REQUIRED CONFIG)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat>=59 libavcodec>=59 libswscale libswresample
                  libavutil)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth>=2.3)
pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-16 libpcre2-8)
pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui>=1.86)

# Debian ships the SDL renderer backend of ImGui only as source.
set(IMGUI_BACKEND_DIR /usr/share/doc/libimgui-dev/examples/backends)
add_library(imgui_sdl_backends STATIC ${IMGUI_BACKEND_DIR}/imgui_impl_sdl.cpp
                                      ${IMGUI_BACKEND_DIR}/imgui_impl_sdlrenderer.cpp)
target_include_directories(imgui_sdl_backends SYSTEM PUBLIC /usr/include/imgui/backends)
target_link_libraries(imgui_sdl_backends PUBLIC PkgConfig::IMGUI SDL2::SDL2)

if(TAVIRO_TESTS)
    find_package(GTest REQUIRED CONFIG)
endif()
if(TAVIRO_BENCH)
    find_package(benchmark REQUIRED CONFIG)
endif()

// Naming screenshots so that none overwrites another.
#include "platform/files/screenshot_file.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace taviro::platform {

std::string NewScreenshotPath(const std::string& folder, std::string_view title, int64_t localTimeMs) {
    std::string name;
    for (char c : title) name += (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32) ? '_' : c;
    if (name.empty() || name == "." || name == "..") name = "Taviro";

    using namespace std::chrono;
    const sys_time<milliseconds> time{milliseconds(localTimeMs)};
    const sys_days day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(floor<seconds>(time - day));
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " %04d-%02u-%02u %02ld-%02ld-%02ld", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(clock.hours().count()), static_cast<long>(clock.minutes().count()),
                  static_cast<long>(clock.seconds().count()));

    const std::string base = folder + "/" + name + stamp;
    std::string path = base + ".png";
    std::error_code noAnswer;
    for (int copy = 2; std::filesystem::exists(path, noAnswer); ++copy)
        path = base + " " + std::to_string(copy) + ".png";
    return path;
}

}  // namespace taviro::platform

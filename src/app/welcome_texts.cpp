// Texts of the welcome window.
#include "app/welcome_texts.h"

#include "platform/files/file_system.h"

namespace taviro::app {
namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           platform::FoldCase(text.substr(text.size() - ending.size())) == platform::FoldCase(ending);
}

}  // namespace

std::string ResolutionText(const std::string& text7, int16_t projectResolution) {
    std::string text = text7;
    if (!text.empty() && text.back() == '.') text.pop_back();
    for (const char* ending : {"640x480", "640*480", "640 x 480", "640 * 480"}) {
        if (EndsWithIgnoringCase(text, ending)) {
            text.erase(text.size() - std::string(ending).size());
            break;
        }
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    switch (projectResolution) {
        case 0: return text + " 640x480.";
        case 1: return text + " 800x600.";
        case 2: return text + " 1024x768.";
        default: return text;
    }
}

std::string EmailQuestion(const project::InterfaceTexts& texts, const std::string& address) {
    return texts[13] + " " + address + " ?";
}

std::string WebSiteQuestion(const project::InterfaceTexts& texts, const std::string& address) {
    return texts[14] + " " + address + " ? " + texts[15];
}

}  // namespace taviro::app

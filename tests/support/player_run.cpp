#include "support/player_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace taviro::testing {

void PlayerRun::CopyGame(const std::filesystem::path& fixture) const {
    std::filesystem::copy(fixture, game_.path(), std::filesystem::copy_options::recursive);
}

int PlayerRun::Run(const std::string& automation, const std::string& prefix, const std::string& mode) const {
    auto script = output_.Write("script.txt", automation);
    // HOME keeps the player's settings in the test's own folder.
    std::string command = "HOME='" + output_.path().string() + "' SDL_AUDIODRIVER=dummy " + prefix + " '" +
                          playerPath_ + "' " + mode + " --autoplay '" + script.string() + "' '" +
                          game_.path().string() + "' >'" + Path("stdout") + "' 2>'" + Path("stderr") + "'";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string PlayerRun::Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace taviro::testing

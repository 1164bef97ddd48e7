// Programs the game starts and waits for: a running program is polled until it has ended.
#pragma once

#include <memory>
#include <string>

namespace taviro::platform {

class RunningProgram {
public:
    virtual ~RunningProgram() = default;
    // False once the program has ended.
    virtual bool Running() = 0;
};

// Starts the program file at the path, without arguments, in its own folder. Throws GameError with
// the system's description when it cannot start (a missing file, a file that is not a program of
// this system such as a Windows .exe, a file not marked executable).
std::unique_ptr<RunningProgram> StartProgram(const std::string& path);

}  // namespace taviro::platform

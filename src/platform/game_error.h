// The error a failing game operation throws: a number and a description, like the original's Err.
#pragma once

#include <stdexcept>
#include <string>

namespace taviro {

class GameError : public std::runtime_error {
public:
    GameError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// The run-time errors that the player's own readers and writers raise, with the original's numbers.
namespace errors {
inline GameError Overflow() { return {6, "Overflow"}; }
inline GameError TypeMismatch() { return {13, "Type mismatch"}; }
inline GameError FileNotFound() { return {53, "File not found"}; }
inline GameError InputPastEndOfFile() { return {62, "Input past end of file"}; }
inline GameError PathFileAccessError() { return {75, "Path/File access error"}; }
inline GameError InvalidUseOfNull() { return {94, "Invalid use of Null"}; }
}  // namespace errors

}  // namespace taviro

// The error a failing game operation throws: a number and a description, like the original's Err.
#pragma once

#include <new>
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
inline GameError OutOfMemory() { return {7, "Out of memory"}; }
inline GameError InternalError() { return {51, "Internal error"}; }
}  // namespace errors

// The error an operation reports for any failure that reaches its boundary: a GameError as it is, an
// allocation failure as error 7, anything else (a fault of the player, not of the game) as error 51.
inline GameError AsGameError(const std::exception& failure) {
    if (const auto* error = dynamic_cast<const GameError*>(&failure)) return *error;
    if (dynamic_cast<const std::bad_alloc*>(&failure) || dynamic_cast<const std::length_error*>(&failure))
        return errors::OutOfMemory();
    return errors::InternalError();
}

}  // namespace taviro

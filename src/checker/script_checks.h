// Checks of author code without running it: whether it compiles, and which frames it names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro::checker {

// Why a script does not compile, at a 1-based line and column of the script's own text.
struct CompileFailure {
    int line = 0;
    int column = 0;
    std::string description;
};

// Compiles author code as the player runs it: as the body of the procedure every piece of author
// code is wrapped in. nullopt when it compiles.
std::optional<CompileFailure> CompileAuthorCode(std::string_view code);

// Compiles a whole text of procedures (the "Procedures" file) as it stands.
std::optional<CompileFailure> CompileProcedures(std::string_view code);

// The frame names the code passes as a literal string to GoToFrame ("GoToFrame "Hall", 0, 0" or
// "Action.GoToFrame("Hall")"), in order; calls in comments are left out.
std::vector<std::string> LiteralFrameNames(std::string_view code);

// The classes (ProgIDs) the code passes as a literal string to AddComponent, in order.
std::vector<std::string> LiteralComponentClasses(std::string_view code);

// The code of timed events the code creates with a literal string ("CreateTimedEvent 5, "x = 1", False"),
// with "" already turned into one quote.
std::vector<std::string> LiteralTimedEventCode(std::string_view code);

// True for the destinations that are no frame: "[quit]", "[last visited frame]" and the "last
// visited frame" of scripts, in any letter case.
bool IsSpecialDestination(std::string_view name);

}  // namespace taviro::checker

// What the game checker found: problems a player would meet, and notes that do not stop play, each
// with the file and the place in it. Written as readable text or as JSON for tools.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace taviro::checker {

enum class Severity { Problem, Note };

struct Finding {
    Severity severity = Severity::Problem;
    std::string file;  // relative to the game folder, with "/" between folders
    int record = 0;    // 1-based record of a record file; 0 = the file as a whole
    std::string part;  // the part of the record or file: "script", "line 2, script 1", ...
    int line = 0;      // 1-based line (of the file, or of the part's script); 0 = none
    int column = 0;    // 1-based; 0 = none
    std::string message;
};

// The findings of one check, in the order they were found.
struct CheckReport {
    bool isGame = true;  // false: the folder holds no "Config/General"
    std::vector<Finding> findings;

    int Problems() const;
    int Notes() const;
    // 0 when no problem was found (notes allowed), 1 with problems, 2 when the folder is not a game.
    int ExitStatus() const;
};

// One line per finding ("problem: Frames/Hall.fme, line 3: ..."), then a summary line.
std::string ReportText(const CheckReport& report, const std::string& gameFolder);

// {"game": ..., "is_game": ..., "problems": n, "notes": n, "findings": [{severity, file, record, part,
// line, column, message}]}; fields that do not apply are left out.
nlohmann::ordered_json ReportJson(const CheckReport& report, const std::string& gameFolder);

}  // namespace taviro::checker

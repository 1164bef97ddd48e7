// Writing the checker's findings for people and for tools.
#include "checker/findings.h"

#include <algorithm>

namespace taviro::checker {
namespace {

const char* SeverityName(Severity severity) { return severity == Severity::Problem ? "problem" : "note"; }

std::string Plural(int count, const std::string& word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

}  // namespace

int CheckReport::Problems() const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [](const Finding& f) { return f.severity == Severity::Problem; }));
}

int CheckReport::Notes() const { return static_cast<int>(findings.size()) - Problems(); }

int CheckReport::ExitStatus() const {
    if (!isGame) return 2;
    return Problems() > 0 ? 1 : 0;
}

std::string ReportText(const CheckReport& report, const std::string& gameFolder) {
    std::string text;
    for (const Finding& finding : report.findings) {
        text += std::string(SeverityName(finding.severity)) + ": " + finding.file;
        if (finding.record > 0) text += ", record " + std::to_string(finding.record);
        if (!finding.part.empty()) text += ", " + finding.part;
        if (finding.line > 0) text += ", line " + std::to_string(finding.line);
        if (finding.column > 0) text += ", column " + std::to_string(finding.column);
        text += ": " + finding.message + "\n";
    }
    if (!report.isGame) return text + gameFolder + " is not a game folder (it has no Config/General).\n";
    if (report.findings.empty()) return gameFolder + ": no problems found.\n";
    return text + gameFolder + ": " + Plural(report.Problems(), "problem") + ", " +
           Plural(report.Notes(), "note") + ".\n";
}

nlohmann::ordered_json ReportJson(const CheckReport& report, const std::string& gameFolder) {
    nlohmann::ordered_json findings = nlohmann::ordered_json::array();
    for (const Finding& finding : report.findings) {
        nlohmann::ordered_json entry{{"severity", SeverityName(finding.severity)}, {"file", finding.file}};
        if (finding.record > 0) entry["record"] = finding.record;
        if (!finding.part.empty()) entry["part"] = finding.part;
        if (finding.line > 0) entry["line"] = finding.line;
        if (finding.column > 0) entry["column"] = finding.column;
        entry["message"] = finding.message;
        findings.push_back(std::move(entry));
    }
    return {{"game", gameFolder},
            {"is_game", report.isGame},
            {"problems", report.Problems()},
            {"notes", report.Notes()},
            {"findings", std::move(findings)}};
}

}  // namespace taviro::checker

// taviro-vbs [--locale LCID] FILE.vbs [ARGS]: runs a script with a WScript object; errors go to stderr,
// status 1. The script starts in the locale of the environment (LC_ALL, LC_NUMERIC, LANG) unless
// --locale names one. MsgBox and InputBox talk on the terminal; CreateObject may create
// Scripting.Dictionary.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "terminal_dialogs.h"
#include "vbscript/engine.h"
#include "vbscript/locale.h"
#include "vbscript/number_text.h"
#include "wscript.h"

using namespace taviro::vbscript;

int main(int argc, char** argv) {
    int32_t lcid = LcidFromEnvironment();
    int first = 1;
    if (argc > 2 && std::string(argv[1]) == "--locale") {
        char* end = nullptr;
        long number = std::strtol(argv[2], &end, 10);
        if (*end != '\0' || !FindLocale(static_cast<int32_t>(number))) {
            std::fprintf(stderr, "taviro-vbs: unknown locale %s\n", argv[2]);
            return 2;
        }
        lcid = static_cast<int32_t>(number);
        first = 3;
    }
    if (argc <= first) {
        std::fprintf(stderr, "usage: taviro-vbs [--locale LCID] FILE.vbs [ARGUMENTS...]\n");
        return 2;
    }
    const char* path = argv[first];
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "taviro-vbs: cannot open %s\n", path);
        return 2;
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);

    std::vector<std::u16string> arguments;
    for (int i = first + 1; i < argc; ++i) arguments.push_back(FromUtf8OrWindows1252(argv[i]));
    TerminalDialogs dialogs(stdout, stdin);  // outlives the engine, whose last Class_Terminate may use it
    Engine engine;
    engine.SetDialogService(&dialogs);
    engine.AllowObjectCreation(true);
    engine.SetLocale(lcid);
    engine.AddObject(
        u"WScript", MakeRef<WScriptObject>(stdout, FromUtf8OrWindows1252(path), std::move(arguments)), false);
    if (engine.AddCode(std::string_view(bytes))) return 0;

    const ErrorInfo& error = engine.Error();
    std::fflush(stdout);
    std::string message = std::string(path) + "(" + std::to_string(error.line) + ", " +
                          std::to_string(error.column) + ") " + ToUtf8(error.source) + ": " +
                          ToUtf8(error.description) + "\n";
    std::fputs(message.c_str(), stderr);
    return 1;
}

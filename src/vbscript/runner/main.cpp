// taviro-vbs FILE.vbs [ARGS]: runs a script with a WScript object; errors go to stderr, status 1.
// MsgBox and InputBox talk on the terminal; CreateObject may create Scripting.Dictionary.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "terminal_dialogs.h"
#include "vbscript/engine.h"
#include "vbscript/number_text.h"
#include "wscript.h"

using namespace taviro::vbscript;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: taviro-vbs FILE.vbs [ARGUMENTS...]\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "taviro-vbs: cannot open %s\n", argv[1]);
        return 2;
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);

    std::vector<std::u16string> arguments;
    for (int i = 2; i < argc; ++i) arguments.push_back(FromUtf8OrWindows1252(argv[i]));
    TerminalDialogs dialogs(stdout, stdin);  // outlives the engine, whose last Class_Terminate may use it
    Engine engine;
    engine.SetDialogService(&dialogs);
    engine.AllowObjectCreation(true);
    engine.AddObject(u"WScript",
                     MakeRef<WScriptObject>(stdout, FromUtf8OrWindows1252(argv[1]), std::move(arguments)),
                     false);
    if (engine.AddCode(std::string_view(bytes))) return 0;

    const ErrorInfo& error = engine.Error();
    std::fflush(stdout);
    std::string message = std::string(argv[1]) + "(" + std::to_string(error.line) + ", " +
                          std::to_string(error.column) + ") " + ToUtf8(error.source) + ": " +
                          ToUtf8(error.description) + "\n";
    std::fputs(message.c_str(), stderr);
    return 1;
}

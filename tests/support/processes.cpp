#include "processes.h"

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "scratch_dir.h"

namespace csv2pnp::test {

namespace {

// The console streams are in text mode, which on Windows stores each newline as CR LF.
std::string consoleText(std::string bytes) {
#ifdef _WIN32
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
    }
    return text;
#else
    return bytes;
#endif
}

}  // namespace

ArgumentVector::ArgumentVector(const std::string& program, std::vector<std::string> arguments)
    : words(std::move(arguments)) {
    words.insert(words.begin(), program);
    for (const std::string& word : words) pointers.push_back(word.c_str());
}

ToolRun runTool(const std::string& arguments, const std::string& feed) {
    return runProgram(CSV2PNP_EXE, arguments, feed);
}

ToolRun runProgram(const std::string& program, const std::string& arguments, const std::string& feed) {
    std::string command = "\"" + program + "\" " + arguments + " >tool.out 2>tool.err";
    if (!feed.empty()) command = feed + " | " + command;
#ifdef _WIN32
    // cmd.exe drops the outer quotes of a command line that starts with one.
    command = "\"" + command + "\"";
#endif
    int raw = std::system(command.c_str());
#ifdef _WIN32
    // -1 is the command processor failing to start, which Wine now and then does under load;
    // the program never ran, so running it again changes nothing it could observe.
    for (int attempt = 1; raw == -1 && attempt < 3; ++attempt) raw = std::system(command.c_str());
    int status = raw;
#else
    int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    ToolRun run{status, consoleText(readFile("tool.out")), consoleText(readFile("tool.err"))};
    std::filesystem::remove("tool.out");
    std::filesystem::remove("tool.err");
    return run;
}

}  // namespace csv2pnp::test

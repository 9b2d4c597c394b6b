#include "scratch_dir.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "banner.h"
#include "cli/conversion_driver.h"

namespace csv2pnp::test {

void ScratchDir::SetUp() {
    std::random_device random;
    dir = std::filesystem::temp_directory_path() / ("csv2pnp-test-" + std::to_string(random()));
    std::filesystem::create_directories(dir);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
}

void ScratchDir::TearDown() {
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::vector<std::string> ScratchDir::filesHere() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    EXPECT_EQ(start, bytes.size()) << "bytes after the last CR LF";
    return lines;
}

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

ToolRun runTool(const std::string& arguments, const std::string& feed) { return runProgram(CSV2PNP_EXE, arguments, feed); }

ToolRun runProgram(const std::string& program, const std::string& arguments, const std::string& feed) {
    std::string command = "\"" + program + "\" " + arguments + " >tool.out 2>tool.err";
    if (!feed.empty()) command = feed + " | " + command;
#ifdef _WIN32
    // cmd.exe drops the outer quotes of a command line that starts with one.
    command = "\"" + command + "\"";
#endif
    int raw = std::system(command.c_str());
#ifdef _WIN32
    int status = raw;
#else
    int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    ToolRun run{status, consoleText(readFile("tool.out")), consoleText(readFile("tool.err"))};
    std::filesystem::remove("tool.out");
    std::filesystem::remove("tool.err");
    return run;
}

namespace {

UtcTime fixedClock() { return UtcTime{2026, 1, 3, 9, 5, 3}; }

}  // namespace

ToolRun runDriver(std::vector<std::string> arguments, InputRead read) {
    arguments.insert(arguments.begin(), "csv2pnp");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out, err;
    ConversionDriver driver;
    driver.out = &out;
    driver.err = &err;
    driver.clock = fixedClock;
    driver.readInput = read;
    int status = driver.run(static_cast<int>(argv.size()), argv.data());
    return ToolRun{status, out.str(), err.str()};
}

std::string bannerLine() { return std::string(banner) + "\n"; }

std::string convertedMessages(const std::string& path, const std::string& baseName, std::size_t rows) {
    return "Read file = " + path + " (" + std::to_string(rows) + " rows)\nWrite PN data to PNP-file = .\\" + baseName +
           ".pnp\nWrite PN floor data to PNP-file = .\\" + baseName + ".img.pnp\n";
}

}  // namespace csv2pnp::test

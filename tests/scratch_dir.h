// Test helpers: a fresh working directory per test, files in it, and runs of the tool.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace csv2pnp::test {

// Makes an empty directory, enters it for the test and removes it afterwards.
class ScratchDir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The names in the directory, sorted.
    std::vector<std::string> filesHere() const;

    std::filesystem::path dir;

private:
    std::filesystem::path previous;
};

void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);
std::vector<std::string> crlfLines(const std::string& bytes);

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

// Runs a program in the current directory with simple arguments (no quoting), its
// standard input piped from the shell command feed when one is given.
ToolRun runProgram(const std::string& program, const std::string& arguments, const std::string& feed = "");

// Runs the built csv2pnp so.
ToolRun runTool(const std::string& arguments, const std::string& feed = "");

// Runs the converter in this process, its clock fixed at 3 January 2026, 09:05:03 UTC and
// its input read through read.
ToolRun runDriver(std::vector<std::string> arguments, InputRead read = readInputFile);

// The banner line that starts every run's console output.
std::string bannerLine();

// The console lines of one converted input.
std::string convertedMessages(const std::string& path, const std::string& baseName, std::size_t rows);

}  // namespace csv2pnp::test

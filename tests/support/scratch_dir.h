// A fresh working directory per test, and files in it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

// The path is handed to the C library as it stands, as the programs hand theirs to the host:
// on Windows both read it in the system's code page, whatever locale the test runs in.
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

}  // namespace csv2pnp::test

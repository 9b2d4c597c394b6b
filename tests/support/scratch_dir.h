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

void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);

}  // namespace csv2pnp::test

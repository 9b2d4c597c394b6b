// How anything that can fail says what went wrong, and how an input that was read says what
// looks wrong in it: the file, the line where there is one, and the words for the user. The
// readers, parsers and writers return these; only the drivers print them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace csv2pnp {

enum class ProblemKind {
    notOpened,   // an input could not be opened
    notRead,     // reading an input failed part-way
    notCreated,  // an output could not be created
    notWritten,  // writing or closing an output failed
    invalid,     // the content, or the command line, is not what was expected
};

struct Problem {
    ProblemKind kind = ProblemKind::invalid;
    std::string file;      // empty when it concerns no file, as a usage error
    std::size_t line = 0;  // from 1; 0 when it concerns no one line
    std::string text;
};

// Something that looks wrong in an input that was still used.
struct Warning {
    std::string file;
    std::size_t line = 0;
    std::string text;
};

// What a reader says of content it cannot take.
inline Problem invalidContent(std::string file, std::size_t line, std::string text) {
    return Problem{ProblemKind::invalid, std::move(file), line, std::move(text)};
}

// "file: line 12: text", leaving out the file or the line when there is none.
std::string describe(const Problem& problem);
std::string describe(const Warning& warning);

// A value, or the problem that kept it from being made; with either, what looked wrong on
// the way.
template <typename T>
struct Result {
    std::optional<T> value;
    std::optional<Problem> problem;  // set exactly when value is not
    std::vector<Warning> warnings;

    Result(T made) : value(std::move(made)) {}
    Result(Problem failed) : problem(std::move(failed)) {}
    explicit operator bool() const { return value.has_value(); }
};

}  // namespace csv2pnp

#include "platform/host.h"

namespace csv2pnp {

namespace {

std::optional<InputFile> systemOpenInput(void*, const std::string& path) { return openInputFile(path); }
long long systemRead(void*, InputFile file, char* into, std::size_t room) { return readInputFile(file, into, room); }
void systemCloseInput(void*, InputFile file) { closeInputFile(file); }
std::optional<OutputFile> systemCreateOutput(void*, const std::string& path) { return createOutputFile(path); }
bool systemWrite(void*, OutputFile file, const char* bytes, std::size_t size) {
    return writeOutputFile(file, bytes, size);
}
bool systemCloseOutput(void*, OutputFile file) { return closeOutputFile(file); }
std::vector<std::string> systemRegularFilesIn(void*, const std::string& directory) { return regularFilesIn(directory); }
std::optional<std::string> systemCurrentDirectory(void*) { return currentDirectory(); }
UtcTime systemNow(void*) { return currentUtcTime(); }
double systemElapsed(void*) { return monotonicSeconds(); }
bool systemErrorIsTerminal(void*) { return standardErrorIsTerminal(); }
bool systemConsoleIsOwn(void*) { return consoleIsOwn(); }
bool systemOpenAsDesktopDoes(void*, const std::string& path) { return openAsDesktopDoes(path); }
void systemWaitForKey(void*) { waitForKey(); }

Problem notWritten(const std::string& path) {
    return Problem{ProblemKind::notWritten, path, 0, "could not be written"};
}

}  // namespace

Host systemHost() {
    return Host{nullptr,       systemOpenInput,       systemRead,           systemCloseInput,        systemCreateOutput,
                systemWrite,   systemCloseOutput,     systemRegularFilesIn, systemCurrentDirectory,  systemNow,
                systemElapsed, systemErrorIsTerminal, systemConsoleIsOwn,   systemOpenAsDesktopDoes, systemWaitForKey};
}

Result<OpenOutput> createOutput(const Host& host, const std::string& path) {
    std::optional<OutputFile> file = host.createOutput(host.context, path);
    if (!file) return Problem{ProblemKind::notCreated, path, 0, "could not be written"};
    return OpenOutput{&host, *file, path};
}

std::optional<Problem> writeOutput(OpenOutput& output, std::string_view bytes) {
    if (output.host->write(output.host->context, output.file, bytes.data(), bytes.size())) return std::nullopt;
    return notWritten(output.path);
}

std::optional<Problem> closeOutput(OpenOutput& output) {
    if (output.host->closeOutput(output.host->context, output.file)) return std::nullopt;
    return notWritten(output.path);
}

std::optional<Problem> writeWholeFile(const Host& host, const std::string& path, std::string_view bytes) {
    Result<OpenOutput> output = createOutput(host, path);
    if (!output) return output.problem;
    std::optional<Problem> written = writeOutput(*output.value, bytes);
    std::optional<Problem> closed = closeOutput(*output.value);
    return written ? written : closed;
}

}  // namespace csv2pnp

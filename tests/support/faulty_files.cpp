#include "faulty_files.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace csv2pnp::test {

namespace {

const FileFault* faultFor(const FaultyFiles& files, FileCall call, const std::string& path) {
    for (const FileFault& fault : files.faults) {
        std::string_view end = fault.pathEnd;
        bool endsSo = path.size() >= end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0;
        if (fault.call == call && endsSo) return &fault;
    }
    return nullptr;
}

FaultyFiles& self(void* context) { return *static_cast<FaultyFiles*>(context); }

std::optional<InputFile> open(void* context, const std::string& path) {
    FaultyFiles& files = self(context);
    if (faultFor(files, FileCall::open, path)) {
        files.calls.push_back("open " + path + ": refused");
        return std::nullopt;
    }
    files.calls.push_back("open " + path);
    std::optional<InputFile> file = openInputFile(path);
    if (file) {
        files.inputPaths[file->handle] = path;
        files.inputBytes[file->handle] = 0;
    }
    return file;
}

long long read(void* context, InputFile file, char* into, std::size_t room) {
    FaultyFiles& files = self(context);
    const std::string& path = files.inputPaths[file.handle];
    std::size_t& sofar = files.inputBytes[file.handle];
    if (const FileFault* fault = faultFor(files, FileCall::read, path)) {
        if (sofar >= fault->afterBytes) return -1;
        room = std::min(room, fault->afterBytes - sofar);
    }
    long long got = readInputFile(file, into, room);
    if (got > 0) sofar += static_cast<std::size_t>(got);
    return got;
}

void closeInput(void* context, InputFile file) {
    FaultyFiles& files = self(context);
    files.calls.push_back("close " + files.inputPaths[file.handle]);
    closeInputFile(file);
}

std::optional<OutputFile> create(void* context, const std::string& path) {
    FaultyFiles& files = self(context);
    if (faultFor(files, FileCall::create, path)) {
        files.calls.push_back("create " + path + ": refused");
        return std::nullopt;
    }
    files.calls.push_back("create " + path);
    std::optional<OutputFile> file = createOutputFile(path);
    if (file) {
        files.outputPaths[file->handle] = path;
        files.outputBytes[file->handle] = 0;
    }
    return file;
}

bool write(void* context, OutputFile file, const char* bytes, std::size_t size) {
    FaultyFiles& files = self(context);
    const std::string& path = files.outputPaths[file.handle];
    std::size_t& sofar = files.outputBytes[file.handle];
    std::size_t allowed = size;
    const FileFault* fault = faultFor(files, FileCall::write, path);
    if (fault) allowed = sofar >= fault->afterBytes ? 0 : std::min(size, fault->afterBytes - sofar);
    if (allowed > 0 && !writeOutputFile(file, bytes, allowed)) return false;
    sofar += allowed;
    return allowed == size;
}

bool closeOutput(void* context, OutputFile file) {
    FaultyFiles& files = self(context);
    const std::string& path = files.outputPaths[file.handle];
    files.calls.push_back("close " + path);
    bool closed = closeOutputFile(file);
    return closed && !faultFor(files, FileCall::close, path);
}

}  // namespace

bool FaultyFiles::everyFileClosed() const {
    std::map<std::string, int> open;
    for (const std::string& call : calls) {
        if (call.find(": refused") != std::string::npos) continue;
        std::string name = call.substr(call.find(' ') + 1);
        open[name] += call.rfind("close ", 0) == 0 ? -1 : 1;
    }
    return std::all_of(open.begin(), open.end(), [](const auto& file) { return file.second == 0; });
}

FileSystem FaultyFiles::seam() { return FileSystem{this, open, read, closeInput, create, write, closeOutput}; }

}  // namespace csv2pnp::test

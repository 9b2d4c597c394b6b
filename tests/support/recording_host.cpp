#include "recording_host.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace csv2pnp::test {

namespace {

RecordingHost& self(void* context) { return *static_cast<RecordingHost*>(context); }

const HostFault* faultFor(const RecordingHost& host, HostCall call, const std::string& path) {
    for (const HostFault& fault : host.faults) {
        std::string_view end = fault.pathEnd;
        bool endsSo = path.size() >= end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0;
        if (fault.call == call && endsSo) return &fault;
    }
    return nullptr;
}

// Records the call; false when a fault refuses it.
bool allowed(RecordingHost& host, HostCall call, const std::string& what, const std::string& path) {
    bool refused = faultFor(host, call, path) != nullptr;
    host.calls.push_back(what + (path.empty() ? "" : " " + path) + (refused ? ": refused" : ""));
    return !refused;
}

std::optional<InputFile> open(void* context, const std::string& path) {
    RecordingHost& host = self(context);
    if (!allowed(host, HostCall::open, "open", path)) return std::nullopt;
    std::optional<InputFile> file;
    if (!host.inMemory) {
        file = openInputFile(path);
    } else if (auto found = host.files.find(path); found != host.files.end()) {
        file = InputFile{host.nextHandle++, found->second.size()};
    }
    if (file) host.inputs[file->handle] = {path, 0};
    return file;
}

long long read(void* context, InputFile file, char* into, std::size_t room) {
    RecordingHost& host = self(context);
    RecordingHost::OpenFile& open = host.inputs[file.handle];
    if (const HostFault* fault = faultFor(host, HostCall::read, open.path)) {
        if (open.bytes >= fault->afterBytes) return -1;
        room = std::min(room, fault->afterBytes - open.bytes);
    }
    long long got = 0;
    if (!host.inMemory) {
        got = readInputFile(file, into, room);
    } else {
        const std::string& bytes = host.files[open.path];
        std::size_t count = std::min(room, bytes.size() - std::min(open.bytes, bytes.size()));
        if (count > 0) std::memcpy(into, bytes.data() + open.bytes, count);
        got = static_cast<long long>(count);
    }
    if (got > 0) open.bytes += static_cast<std::size_t>(got);
    return got;
}

void closeInput(void* context, InputFile file) {
    RecordingHost& host = self(context);
    host.calls.push_back("close " + host.inputs[file.handle].path);
    if (!host.inMemory) closeInputFile(file);
}

std::optional<OutputFile> create(void* context, const std::string& path) {
    RecordingHost& host = self(context);
    if (!allowed(host, HostCall::create, "create", path)) return std::nullopt;
    std::optional<OutputFile> file;
    if (!host.inMemory) {
        file = createOutputFile(path);
    } else {
        host.files[path].clear();
        file = OutputFile{host.nextHandle++};
    }
    if (file) host.outputs[file->handle] = {path, 0};
    return file;
}

bool write(void* context, OutputFile file, const char* bytes, std::size_t size) {
    RecordingHost& host = self(context);
    RecordingHost::OpenFile& open = host.outputs[file.handle];
    if (host.recordWrites) host.calls.push_back("write " + open.path + ": " + std::string(bytes, size));
    std::size_t passed = size;
    if (const HostFault* fault = faultFor(host, HostCall::write, open.path)) {
        passed = open.bytes >= fault->afterBytes ? 0 : std::min(size, fault->afterBytes - open.bytes);
    }
    if (passed > 0) {
        if (host.inMemory) {
            host.files[open.path].append(bytes, passed);
        } else if (!writeOutputFile(file, bytes, passed)) {
            return false;
        }
    }
    open.bytes += passed;
    return passed == size;
}

bool closeOutput(void* context, OutputFile file) {
    RecordingHost& host = self(context);
    const std::string& path = host.outputs[file.handle].path;
    host.calls.push_back("close " + path);
    bool closed = host.inMemory || closeOutputFile(file);
    return closed && !faultFor(host, HostCall::close, path);
}

std::vector<std::string> regularFilesIn(void* context, const std::string& directory) {
    RecordingHost& host = self(context);
    if (!allowed(host, HostCall::list, "list", directory)) return {};
    if (!host.inMemory) return csv2pnp::regularFilesIn(directory);
    std::vector<std::string> names;
    for (const auto& [path, bytes] : host.files) {
        if (path.compare(0, directory.size(), directory) != 0) continue;
        std::string name = path.substr(directory.size());
        if (name.find_first_of("/\\") == std::string::npos) names.push_back(name);
    }
    return names;
}

std::optional<std::string> currentDirectory(void* context) {
    RecordingHost& host = self(context);
    if (!allowed(host, HostCall::currentDirectory, "current directory", "")) return std::nullopt;
    if (host.inMemory) return host.workingDirectory;
    return csv2pnp::currentDirectory();
}

UtcTime now(void* context) { return self(context).time; }
double elapsed(void* context) {
    RecordingHost& host = self(context);
    host.clock += host.clockStep;
    return host.clock;
}
bool errorIsTerminal(void* context) { return self(context).terminal; }
bool consoleIsOwn(void* context) { return self(context).ownConsole; }
bool openAsDesktopDoes(void* context, const std::string& path) {
    return allowed(self(context), HostCall::browse, "browse", path);
}
void waitForKey(void* context) { self(context).calls.push_back("wait for a key"); }

}  // namespace

bool RecordingHost::everyFileClosed() const {
    std::map<std::string, int> open;
    for (const std::string& call : calls) {
        if (call.find(": refused") != std::string::npos) continue;
        std::size_t space = call.find(' ');
        std::string verb = call.substr(0, space), name = call.substr(space + 1);
        if (verb == "open" || verb == "create") ++open[name];
        if (verb == "close") --open[name];
    }
    return std::all_of(open.begin(), open.end(), [](const auto& file) { return file.second == 0; });
}

Host RecordingHost::seam() {
    return Host{this,
                open,
                read,
                closeInput,
                create,
                write,
                closeOutput,
                regularFilesIn,
                currentDirectory,
                now,
                elapsed,
                errorIsTerminal,
                consoleIsOwn,
                openAsDesktopDoes,
                waitForKey};
}

}  // namespace csv2pnp::test

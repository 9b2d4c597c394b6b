#include "platform/file_system.h"

namespace csv2pnp {

namespace {

std::optional<InputFile> hostOpenInput(void*, const std::string& path) { return openInputFile(path); }
long long hostRead(void*, InputFile file, char* into, std::size_t room) { return readInputFile(file, into, room); }
void hostCloseInput(void*, InputFile file) { closeInputFile(file); }
std::optional<OutputFile> hostCreateOutput(void*, const std::string& path) { return createOutputFile(path); }
bool hostWrite(void*, OutputFile file, const char* bytes, std::size_t size) {
    return writeOutputFile(file, bytes, size);
}
bool hostCloseOutput(void*, OutputFile file) { return closeOutputFile(file); }

}  // namespace

FileSystem hostFileSystem() {
    return FileSystem{nullptr, hostOpenInput, hostRead, hostCloseInput, hostCreateOutput, hostWrite, hostCloseOutput};
}

std::optional<OpenOutput> createOutput(const FileSystem& files, const std::string& path) {
    std::optional<OutputFile> file = files.createOutput(files.context, path);
    if (!file) return std::nullopt;
    return OpenOutput{&files, *file};
}

bool writeOutput(OpenOutput& output, std::string_view bytes) {
    return output.files->write(output.files->context, output.file, bytes.data(), bytes.size());
}

bool closeOutput(OpenOutput& output) { return output.files->closeOutput(output.files->context, output.file); }

bool writeWholeFile(const FileSystem& files, const std::string& path, std::string_view bytes) {
    std::optional<OpenOutput> output = createOutput(files, path);
    if (!output) return false;
    bool written = writeOutput(*output, bytes);
    return closeOutput(*output) && written;
}

}  // namespace csv2pnp

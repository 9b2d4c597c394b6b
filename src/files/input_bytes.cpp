#include "files/input_bytes.h"

#include <algorithm>

namespace csv2pnp {

InputBytes readInputBytes(const std::string& path, const FileSystem& files) {
    std::optional<InputFile> file = files.openInput(files.context, path);
    if (!file) return InputBytes{InputStatus::notOpened, {}};
    // A regular file's length sizes the buffer, with one byte more so that its end is seen
    // without growing; pipes and devices grow it as they deliver.
    constexpr std::size_t firstChunk = 1 << 16;
    InputBytes input{InputStatus::read, std::string(std::max(file->sizeHint + 1, firstChunk), '\0')};
    std::string& bytes = input.bytes;
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        long long got = files.read(files.context, *file, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            files.closeInput(files.context, *file);
            return InputBytes{InputStatus::readFailed, {}};
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    files.closeInput(files.context, *file);
    bytes.resize(filled);
    return input;
}

}  // namespace csv2pnp

#include "files/input_bytes.h"

#include <algorithm>

namespace csv2pnp {

Result<std::string> readInputBytes(const std::string& path, const Host& host) {
    std::optional<InputFile> file = host.openInput(host.context, path);
    if (!file) return Problem{ProblemKind::notOpened, path, 0, "cannot be opened"};
    // A regular file's length sizes the buffer, with one byte more so that its end is seen
    // without growing; pipes and devices grow it as they deliver.
    constexpr std::size_t firstChunk = 1 << 16;
    std::string bytes(std::max(file->sizeHint + 1, firstChunk), '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        long long got = host.read(host.context, *file, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            host.closeInput(host.context, *file);
            return Problem{ProblemKind::notRead, path, 0, "could not be read to its end"};
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    host.closeInput(host.context, *file);
    bytes.resize(filled);
    return bytes;
}

}  // namespace csv2pnp

#include "input/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "input/text_decoding.h"

namespace vormel {

namespace {

// The file's bytes; false when it cannot be opened or a read fails.
bool read_bytes(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && status.st_size > 0) bytes.reserve(static_cast<std::size_t>(status.st_size));
    bool ok = true;
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ok;
}

}  // namespace

InputLoad load_input_file(const std::string& path, std::string& text) {
    text.clear();
    try {
        std::string bytes;
        if (!read_bytes(path, bytes)) return InputLoad::not_accessible;
        text = decode_input_text(std::move(bytes));
        return InputLoad::loaded;
    } catch (const std::bad_alloc&) {
        text = std::string();
        return InputLoad::out_of_memory;
    }
}

}  // namespace vormel

#include "lexicon_files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "clx_compressed_lexicon.h"
#include "qlex.h"
#include "text_lexicon.h"

namespace orthix {

std::string lexiconPath(const char* name) { return name ? name : ""; }

namespace {

constexpr uint32_t kCompressedMagic = 0x57000501;

// ---- Compressed lexicons (kind 5) -------------------------------------------------------
int16_t openCompressedLexicon(const std::string& path, int32_t memBudget, std::unique_ptr<Lexicon>& out) {
    std::unique_ptr<CompressedLexicon> lexicon(new (std::nothrow) CompressedLexicon);
    if (!lexicon)
        return QLEX_ERR_NO_MEMORY;
    int16_t rc = lexicon->open(path.c_str(), memBudget);
    if (rc == 0)
        out = std::move(lexicon);
    return rc;
}
// ------------------------------------------------------------------------------------------

// Lexicon formats of the same family that this engine does not read carry a tag in bytes
// 256..259 (little-endian).
bool isRefusedFormat(const unsigned char* head) {
    uint32_t tag = head[256] | head[257] << 8 | head[258] << 16 | static_cast<uint32_t>(head[259]) << 24;
    return (tag >= 0x57000001 && tag < 0x57000007) || (tag >= 0x57000400 && tag <= 0x57000402);
}

// Reads up to `size` bytes from the start of the file; -1 when it cannot be read.
ssize_t readHead(const std::string& path, unsigned char* head, std::size_t size) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    ssize_t total = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? 0 : -1;
    while (total >= 0 && static_cast<std::size_t>(total) < size) {
        ssize_t n = read(fd, head + total, size - static_cast<std::size_t>(total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            total = n < 0 ? -1 : total;
            break;
        }
        total += n;
    }
    close(fd);
    return total;
}

} // namespace

int16_t openLexiconFile(const std::string& path, int32_t memBudget, std::unique_ptr<Lexicon>& out) {
    unsigned char head[260];
    ssize_t got = readHead(path, head, sizeof head);
    if (got < 0)
        return QLEX_ERR_FILE_OPEN;
    uint32_t magic = got >= 4 ? static_cast<uint32_t>(head[0]) << 24 | head[1] << 16 | head[2] << 8 | head[3] : 0;
    if (magic == kCompressedMagic)
        return openCompressedLexicon(path, memBudget, out);
    if (got == sizeof head && isRefusedFormat(head))
        return QLEX_ERR_UNSUPPORTED;
    return TextLexicon::open(path, out);
}

} // namespace orthix

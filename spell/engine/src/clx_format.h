// Layout of a compressed lexicon file, shared by the reader (CompressedLexicon) and the compiler.
//
// After the magic number the file is a run of sections: type, length, body. Every multi-byte
// integer is 32-bit big-endian. Words sharing their first three characters (the key) form one
// segment; a segment is a run of front-coded word records ending in a suffix code or an end code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orthix::clx {

constexpr uint32_t kMagic = 0x57000501;

enum SectionType : uint32_t {
    kSectionLanguage = 1,  // 4 bytes: language code (low 16 bits kept)
    kSectionWidth = 2,     // 4 bytes: character width, 1 = 8-bit characters
    kSectionSuffixes = 3,  // simple, then extended suffix table: length, NUL-terminated strings
    kSectionIndex = 4,     // count, then `count` index entries
    kSectionSegments = 5,  // segment data; entry offsets count from its first byte
};

constexpr size_t kKeySize = 3;
constexpr size_t kIndexEntrySize = kKeySize + 4 + 4;  // key, offset, size

// Codes of a word record after its shared-prefix byte.
constexpr uint8_t kEndOfWord = 0;
constexpr uint8_t kExtendedSuffix = 1;     // the next byte numbers an extended suffix
constexpr uint8_t kFirstSimpleSuffix = 2;  // codes 2..31 name simple suffixes 0..29
constexpr uint8_t kFirstLiteral = 32;      // codes 32..255 are characters of the word
constexpr size_t kMaxSimpleSuffixes = kFirstLiteral - kFirstSimpleSuffix;
constexpr size_t kMaxExtendedSuffixes = 256;

// The engine handles words of at most 63 characters.
constexpr size_t kMaxWordLength = 63;

inline uint32_t read_be32(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

inline void append_be32(std::string& out, uint32_t value) {
    out.push_back(char(value >> 24));
    out.push_back(char(value >> 16));
    out.push_back(char(value >> 8));
    out.push_back(char(value));
}

} // namespace orthix::clx

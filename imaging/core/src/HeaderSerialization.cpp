#include "imaging/HeaderSerialization.h"

#include <bit>
#include <cstring>

#include "imaging/EImageError.h"

namespace imaging {

namespace {

constexpr std::size_t kFixedBytes = 61; // the fields before the palette

void putInt(std::vector<std::uint8_t> &out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

[[noreturn]] void malformed(const std::string &what) {
    throw EImageError("Malformed image header: " + what, errInvalidArgument);
}

// Reads little-endian fields from an untrusted byte array, never past its end.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t left() const { return bytes_.size() - pos_; }
    std::uint64_t uint(int bytes) {
        if (left() < std::size_t(bytes)) malformed("too short");
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= std::uint64_t(bytes_[pos_++]) << (8 * i);
        return v;
    }
    int int32() { return static_cast<int>(static_cast<std::uint32_t>(uint(4))); }
    double real() { return std::bit_cast<double>(uint(8)); }
    std::span<const std::uint8_t> take(std::size_t n, const char *what) {
        if (left() < n) malformed(what);
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    std::string name() {
        const auto rest = bytes_.subspan(pos_);
        const auto *end = static_cast<const std::uint8_t *>(std::memchr(rest.data(), 0, rest.size()));
        if (rest.empty() || !end) malformed("channel name without its terminating zero");
        std::string s(reinterpret_cast<const char *>(rest.data()), end - rest.data());
        pos_ += s.size() + 1;
        return s;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

} // namespace

std::vector<std::uint8_t> serializeHeader(const ImageHeader &h) {
    std::size_t size = kFixedBytes + h.GetPalette().size();
    for (const auto &name : h.extraNames())
        size += name.size() + 1;
    std::vector<std::uint8_t> out;
    out.reserve(size);
    for (int v : {h.width(), h.height(), h.bitDepth(), int(h.colorModel()), h.paletteFlag(),
                  h.paletteEntries(), h.extraChannels(), h.compression()})
        putInt(out, std::uint32_t(v), 4);
    putInt(out, std::bit_cast<std::uint64_t>(h.xResolution()), 8);
    putInt(out, std::bit_cast<std::uint64_t>(h.yResolution()), 8);
    putInt(out, h.resolutionUnit(), 1);
    for (int v : {h.transparencyMode(), h.transparencyIndex(), h.maskIndex()})
        putInt(out, std::uint32_t(v), 4);
    out.insert(out.end(), h.GetPalette().begin(), h.GetPalette().end());
    for (const auto &name : h.extraNames()) {
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
    return out;
}

ImageHeader deserializeHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kFixedBytes) malformed("too short");
    Reader in(bytes);
    int f[7];
    for (int &v : f)
        v = in.int32();
    // Every palette entry and every name takes at least one byte: refuse counts the array cannot
    // hold before anything is allocated for them.
    const std::size_t after = bytes.size() - kFixedBytes;
    if (f[5] > 0 && std::size_t(f[5]) > after) malformed("palette too short");
    if (f[6] > 0 && std::size_t(f[6]) > after) malformed("channel name without its terminating zero");
    ImageHeader h = ImageHeader::Create(nullptr, f[0], f[1], f[2], f[3], f[4], f[5], f[6]);
    h.SetCompression(in.int32());
    h.SetXResolution(in.real());
    h.SetYResolution(in.real());
    h.SetResolutionUnit(std::uint8_t(in.uint(1)));
    const int mode = in.int32();
    const int transparencyIndex = in.int32();
    const int maskIndex = in.int32();
    // The mode goes through its setter (transparency by palette index needs a palette). The
    // indexes are restored as written: the setters validate a new value, but a mode changed later
    // does not re-validate the index, so a header may legitimately hold an index its setter would
    // refuse now, and a copy must read back equal.
    h.SetTransparencyMode(mode);
    h.transparencyIndex_ = transparencyIndex;
    h.maskIndex_ = maskIndex;
    if (h.paletteBytes() != 0) h.SetPalette(in.take(h.paletteBytes(), "palette too short"));
    for (int k = 0; k < h.extraChannels(); ++k)
        h.SetChannelName(h.processColors() + k, in.name());
    if (in.left() != 0) malformed("unexpected bytes after the channel names");
    return h;
}

} // namespace imaging

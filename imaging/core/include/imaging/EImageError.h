// The one error type of the imaging component: a message and a code.
#pragma once

#include <stdexcept>
#include <string>

namespace imaging {

// Codes carried by EImageError; COM callers see 0x80040000 + code.
enum ImageErrorCode : int {
    errUnknown = 0x200,         // unknown failures, members not implemented
    errInvalidArgument = 0x201, // invalid argument or state, sizes too large
    errOutOfBounds = 0x202,     // access outside the image, crop and tile sizes
    errFileFormat = 0x203,      // unknown file format or malformed file contents
    errNotSupported = 0x204,    // operation not supported for this kind of image
    errFileAccess = 0x205,      // file cannot be opened or read
    errNoImage = 0x206,         // no image loaded
};

class EImageError : public std::runtime_error {
  public:
    EImageError(const std::string &message, int code) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

} // namespace imaging

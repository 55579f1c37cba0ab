#include "DATFILE.h"

#include "MSG.h"

#include <cctype>
#include <cstring>

std::string SHOWDATA(std::string_view text) {
    std::string s = "\"";
    for (char c : text.substr(0, 40))
        s += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    return s + (text.size() > 40 ? "...\"" : "\"");
}

DATFILE::DATFILE(const std::string &path)
    : name_(path), file_(std::fopen(path.c_str(), "rb"), std::fclose), buf_(std::size_t(1) << 20) {
    if (!file_) STOPRUN("Error: cannot open the data file " + path);
}

DATFILE::DATFILE(std::string name, std::string_view text)
    : name_(std::move(name)), file_(nullptr, std::fclose), buf_(text.begin(), text.end()), end_(text.size()),
      eof_(true) {}

bool DATFILE::fill() {
    if (eof_) return false;
    if (begin_ > 0) { // move the unread part to the front
        std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buf_.size()) {
        if (buf_.size() >= MAXLINE)
            STOPRUN("Error: data file " + name_ + ", line " + std::to_string(lineno_ + 1) +
                    " is longer than " + std::to_string(MAXLINE) + " characters");
        buf_.resize(buf_.size() * 2);
    }
    std::size_t got = std::fread(buf_.data() + end_, 1, buf_.size() - end_, file_.get());
    if (got == 0) {
        if (std::ferror(file_.get())) STOPRUN("Error: cannot read the data file " + name_);
        eof_ = true;
        return false;
    }
    end_ += got;
    return true;
}

bool DATFILE::nextline(std::string_view &line) {
    std::size_t searched = begin_;
    for (;;) {
        const void *nl =
            end_ > searched ? std::memchr(buf_.data() + searched, '\n', end_ - searched) : nullptr;
        if (nl) {
            std::size_t stop = static_cast<const char *>(nl) - buf_.data();
            line = std::string_view(buf_.data() + begin_, stop - begin_);
            begin_ = stop + 1;
            break;
        }
        std::size_t done = end_ - begin_; // already searched, relative to the unread part
        if (!fill()) {
            if (begin_ == end_) return false;
            line = std::string_view(buf_.data() + begin_, end_ - begin_); // last line without LF
            begin_ = end_;
            break;
        }
        searched = begin_ + done;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineno_;
    return true;
}

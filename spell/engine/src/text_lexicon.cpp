#include "text_lexicon.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <unistd.h>

#include "log.h"
#include "qlex.h"
#include "text_lexicon_format.h"

namespace orthix {

int16_t TextLexicon::open(const std::string& path, std::unique_ptr<Lexicon>& out) {
    std::string content;
    FileStamp stamp;
    if (!readWholeFile(path, content, stamp)) {
        logLine("%s: file open error", path.c_str());
        return QLEX_ERR_FILE_OPEN;
    }
    TextLexiconContent parsed = parseTextLexicon(content);
    std::unique_ptr<TextLexicon> lex(new TextLexicon(path, parsed.language));
    lex->hasHeader_ = parsed.hasHeader;
    lex->synced_ = stamp;
    lex->list_.merge(std::move(parsed.entries));
    logLine("%s opened", path.c_str());
    out = std::move(lex);
    return 0;
}

int16_t TextLexicon::create(const std::string& path, int16_t language, std::unique_ptr<Lexicon>& out) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
        logLine("%s already exists", path.c_str());
        return QLEX_ERR_EXISTS;
    }
    if (fd < 0)
        return QLEX_ERR_CREATE;
    ::close(fd);
    std::unique_ptr<TextLexicon> lex(new TextLexicon(path, language));
    if (int16_t rc = lex->writeBack(); rc != 0) {
        unlink(path.c_str());  // a failed create leaves nothing behind
        return rc;
    }
    logLine("%s created", path.c_str());
    out = std::move(lex);
    return 0;
}

TextLexicon::~TextLexicon() { logLine("%s closed", path_.c_str()); }

void TextLexicon::synchronise() {
    FileStamp now;
    if (stampOf(path_, now) && now == synced_)
        return;
    std::string content;
    FileStamp read;
    if (!readWholeFile(path_, content, read)) {
        logLine("%s: Can't open", path_.c_str());
        logLine("Warning: Can't synchronize %s (%ld)", path_.c_str(), static_cast<long>(QLEX_ERR_FILE_OPEN));
        return;
    }
    TextLexiconContent parsed = parseTextLexicon(content);
    hasHeader_ = parsed.hasHeader;
    list_.setLanguage(parsed.language);
    list_.merge(std::move(parsed.entries));  // entries only in memory stay
    synced_ = read;
}

int16_t TextLexicon::writeBack() {
    FileStamp written;
    int16_t rc = replaceFile(path_, formatTextLexicon(list_, hasHeader_), written);
    if (rc == 0)
        synced_ = written;
    return rc;
}

int16_t TextLexicon::add(const char* word, char action, const char* other) {
    LexEntry entry = makeEntry(word, action, other);
    if (!fitsTextLexicon(entry)) {
        logLine("Can't add word to %s (%ld)", path_.c_str(), static_cast<long>(QLEX_ERR_UNSUPPORTED));
        return QLEX_ERR_UNSUPPORTED;
    }
    std::lock_guard lock(mutex_);
    FileLock fileLock(path_);
    synchronise();
    std::optional<LexEntry> replaced;
    try {
        replaced = list_.insert(entry);
    } catch (const std::bad_alloc&) {
        logLine("Can't add word to %s (%ld)", path_.c_str(), static_cast<long>(QLEX_ERR_NO_MEMORY));
        return QLEX_ERR_NO_MEMORY;
    }
    if (int16_t rc = writeBack(); rc != 0) {
        logLine("Can't write %s (%ld)", path_.c_str(), static_cast<long>(rc));
        if (replaced)
            list_.insert(*replaced);
        else
            list_.remove(entry.word);
        return rc;
    }
    return 0;
}

int16_t TextLexicon::remove(const char* word) {
    std::lock_guard lock(mutex_);
    FileLock fileLock(path_);
    synchronise();
    std::string key = makeEntry(word, 'i', nullptr).word;
    std::optional<LexEntry> removed = list_.remove(key);
    if (!removed) {
        logLine("%s doesn't exist in %s", key.c_str(), path_.c_str());
        return QLEX_ERR_NOT_FOUND;
    }
    if (int16_t rc = writeBack(); rc != 0) {
        logLine("Can't save %s (%ld)", path_.c_str(), static_cast<long>(rc));
        list_.insert(*removed);
        return rc;
    }
    return 0;
}

int16_t TextLexicon::clear() {
    std::lock_guard lock(mutex_);
    FileLock fileLock(path_);
    WordList old(list_.language());
    old.swap(list_);
    list_.setLanguage(old.language());
    if (int16_t rc = writeBack(); rc != 0) {
        logLine("Can't write %s (%ld)", path_.c_str(), static_cast<long>(rc));
        list_.swap(old);
        return rc;
    }
    return 0;
}

} // namespace orthix

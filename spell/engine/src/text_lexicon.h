// The text lexicon file (kind 3): the whole file is held in memory from open to close and written
// back after every change. Before a change the file is re-read when another process has changed
// it, under an advisory lock that every process editing the file takes, so no writer's entries
// are lost between another's read and write.
#pragma once

#include <memory>
#include <string>

#include "file_replace.h"
#include "memory_lexicon.h"

namespace orthix {

class TextLexicon : public MemoryLexicon {
public:
    // Reads an existing lexicon file: 0, QLEX_ERR_FILE_OPEN.
    static int16_t open(const std::string& path, std::unique_ptr<Lexicon>& out);
    // Makes a new lexicon file holding only its header: 0, QLEX_ERR_EXISTS, QLEX_ERR_CREATE,
    // QLEX_ERR_WRITE.
    static int16_t create(const std::string& path, int16_t language, std::unique_ptr<Lexicon>& out);
    ~TextLexicon() override;

    LexiconKind kind() const override { return kTextFile; }
    int16_t add(const char* word, char action, const char* other) override;
    int16_t remove(const char* word) override;
    int16_t clear() override;

private:
    TextLexicon(std::string path, int16_t language) : MemoryLexicon(language), path_(std::move(path)) {}
    void synchronise();
    int16_t writeBack();

    std::string path_;
    bool hasHeader_ = true;
    FileStamp synced_;  // the file as last read or written by this object
};

} // namespace orthix

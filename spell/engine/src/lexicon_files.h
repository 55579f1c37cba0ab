// Finding and opening lexicon files for QLEX_OpenLex and QLEX_CreateLex.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "lexicon.h"

namespace orthix {

// The file a lexicon name stands for. The one place where dictionaries named without a folder
// are searched for; for now every name is a plain path.
std::string lexiconPath(const char* name);

// Opens a lexicon file, deciding its kind from its content: a compressed lexicon (magic
// 0x57000501), a refused lexicon format of the same family, or a text lexicon.
int16_t openLexiconFile(const std::string& path, int32_t memBudget, std::unique_ptr<Lexicon>& out);

} // namespace orthix

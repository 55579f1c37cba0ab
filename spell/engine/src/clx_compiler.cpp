#include "clx_compiler.h"

#include <algorithm>
#include <unordered_map>

#include "clx_format.h"

namespace orthix {

using namespace clx;

namespace {

// A word of one segment after front coding: the shared-prefix count and the new characters.
struct Record {
    unsigned char shared;
    std::string tail;
};

struct Segment {
    std::string key;  // three characters, or a one- or two-character word padded with NULs
    std::vector<Record> records;
};

// Longer endings are rare and seldom pay for their table entry.
constexpr size_t kMaxSuffixLength = 15;

// The bytes a suffix saves on one tail: a simple suffix replaces its characters and the end
// code by one code; an extended suffix by two bytes.
size_t simple_saving(size_t length) { return length; }
size_t extended_saving(size_t length) { return length - 1; }

struct SuffixTables {
    std::vector<std::string> simple, extended;
};

// Greedy choice: every round takes the ending and table that save the most bytes net of the
// ending's own table entry, given what the endings chosen before already save on each tail.
SuffixTables choose_suffixes(const std::vector<const std::string*>& tails) {
    std::unordered_map<std::string_view, uint32_t> ids;
    std::vector<std::string_view> endings;
    std::vector<std::vector<uint32_t>> endingsOfTail(tails.size());
    for (size_t t = 0; t < tails.size(); ++t) {
        std::string_view tail = *tails[t];
        for (size_t len = 1; len <= std::min(tail.size(), kMaxSuffixLength); ++len) {
            std::string_view ending = tail.substr(tail.size() - len);
            auto [it, added] = ids.try_emplace(ending, uint32_t(endings.size()));
            if (added)
                endings.push_back(ending);
            endingsOfTail[t].push_back(it->second);
        }
    }

    SuffixTables tables;
    std::vector<size_t> saved(tails.size(), 0);
    std::vector<bool> taken(endings.size(), false);
    std::vector<size_t> gainSimple(endings.size()), gainExtended(endings.size());
    for (;;) {
        bool simpleRoom = tables.simple.size() < kMaxSimpleSuffixes;
        bool extendedRoom = tables.extended.size() < kMaxExtendedSuffixes;
        if (!simpleRoom && !extendedRoom)
            break;
        std::fill(gainSimple.begin(), gainSimple.end(), 0);
        std::fill(gainExtended.begin(), gainExtended.end(), 0);
        for (size_t t = 0; t < tails.size(); ++t) {
            for (uint32_t e : endingsOfTail[t]) {
                size_t len = endings[e].size();
                if (simple_saving(len) > saved[t])
                    gainSimple[e] += simple_saving(len) - saved[t];
                if (extended_saving(len) > saved[t])
                    gainExtended[e] += extended_saving(len) - saved[t];
            }
        }
        size_t best = 0, bestGain = 0;
        bool bestSimple = false;
        for (size_t e = 0; e < endings.size(); ++e) {
            if (taken[e])
                continue;
            size_t entryCost = endings[e].size() + 1;
            if (simpleRoom && gainSimple[e] > entryCost && gainSimple[e] - entryCost > bestGain)
                best = e, bestGain = gainSimple[e] - entryCost, bestSimple = true;
            if (extendedRoom && gainExtended[e] > entryCost && gainExtended[e] - entryCost > bestGain)
                best = e, bestGain = gainExtended[e] - entryCost, bestSimple = false;
        }
        if (bestGain == 0)
            break;
        taken[best] = true;
        (bestSimple ? tables.simple : tables.extended).emplace_back(endings[best]);
        size_t saving = bestSimple ? simple_saving(endings[best].size()) : extended_saving(endings[best].size());
        for (size_t t = 0; t < tails.size(); ++t)
            if (std::find(endingsOfTail[t].begin(), endingsOfTail[t].end(), best) != endingsOfTail[t].end())
                saved[t] = std::max(saved[t], saving);
    }
    return tables;
}

// Appends the cheapest coding of a tail: literal characters, then the end code or a suffix code.
void encode_tail(std::string& out, std::string_view tail, const std::unordered_map<std::string_view, size_t>& simple,
                 const std::unordered_map<std::string_view, size_t>& extended) {
    size_t bestCost = tail.size() + 1;
    size_t bestLength = 0;
    int bestCode = -1;  // -1 plain end, else the code bytes below
    size_t bestNumber = 0;
    for (size_t len = 1; len <= std::min(tail.size(), kMaxSuffixLength); ++len) {
        std::string_view ending = tail.substr(tail.size() - len);
        if (auto it = simple.find(ending); it != simple.end() && tail.size() - len + 1 < bestCost)
            bestCost = tail.size() - len + 1, bestLength = len, bestCode = kFirstSimpleSuffix, bestNumber = it->second;
        if (auto it = extended.find(ending); it != extended.end() && tail.size() - len + 2 < bestCost)
            bestCost = tail.size() - len + 2, bestLength = len, bestCode = kExtendedSuffix, bestNumber = it->second;
    }
    out.append(tail.substr(0, tail.size() - bestLength));
    if (bestCode < 0) {
        out.push_back(char(kEndOfWord));
    } else if (bestCode == kExtendedSuffix) {
        out.push_back(char(kExtendedSuffix));
        out.push_back(char(bestNumber));
    } else {
        out.push_back(char(kFirstSimpleSuffix + bestNumber));
    }
}

void append_table(std::string& out, const std::vector<std::string>& suffixes) {
    std::string bytes;
    for (const std::string& s : suffixes)
        bytes.append(s).push_back('\0');
    append_be32(out, uint32_t(bytes.size()));
    out += bytes;
}

void append_section(std::string& out, SectionType type, const std::string& body) {
    append_be32(out, type);
    append_be32(out, uint32_t(body.size()));
    out += body;
}

} // namespace

std::string ClxCompiler::addWordList(std::string_view text) {
    std::vector<std::string> words;
    size_t lineNumber = 0;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        ++lineNumber;
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
        if (line.empty())
            continue;
        if (line.size() > kMaxWordLength)
            return "line " + std::to_string(lineNumber) + ": word longer than 63 characters";
        if (std::any_of(line.begin(), line.end(), [](char c) { return (unsigned char)c <= ' '; }))
            return "line " + std::to_string(lineNumber) + ": word contains a space or control character";
        words.emplace_back(line);
    }
    words_.insert(words_.end(), words.begin(), words.end());
    return "";
}

std::string ClxCompiler::build(uint16_t language, ClxSummary* summary) const {
    // std::string compares as unsigned bytes, the order of the index and of every segment.
    std::vector<std::string> words = words_;
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());

    std::vector<Segment> segments;
    for (const std::string& word : words) {
        std::string key = word.substr(0, kKeySize);
        key.resize(kKeySize, '\0');
        if (segments.empty() || segments.back().key != key)
            segments.push_back({key, {}});
        if (word.size() < kKeySize)
            continue;  // the index entry is the word
        segments.back().records.push_back({0, word.substr(kKeySize)});
    }
    // Front coding: each tail loses the characters it shares with the previous word's rest.
    std::vector<const std::string*> tails;
    for (Segment& segment : segments) {
        std::string previousRest;
        for (Record& record : segment.records) {
            std::string rest = record.tail;
            size_t shared = 0;
            while (shared < rest.size() && shared < previousRest.size() && rest[shared] == previousRest[shared])
                ++shared;
            record.shared = (unsigned char)shared;
            record.tail = rest.substr(shared);
            previousRest = std::move(rest);
            tails.push_back(&record.tail);
        }
    }

    SuffixTables tables = choose_suffixes(tails);
    std::unordered_map<std::string_view, size_t> simple, extended;
    for (size_t i = 0; i < tables.simple.size(); ++i)
        simple.emplace(tables.simple[i], i);
    for (size_t i = 0; i < tables.extended.size(); ++i)
        extended.emplace(tables.extended[i], i);

    std::string index, data;
    append_be32(index, uint32_t(segments.size()));
    ClxSummary counts;
    counts.words = words.size();
    for (const Segment& segment : segments) {
        size_t offset = data.size();
        for (const Record& record : segment.records) {
            data.push_back(char(record.shared));
            encode_tail(data, record.tail, simple, extended);
        }
        size_t size = data.size() - offset;
        if (size > 0)
            ++counts.segments;
        counts.largestSegment = std::max(counts.largestSegment, size);
        index += segment.key;
        append_be32(index, uint32_t(offset));
        append_be32(index, uint32_t(size));
    }

    std::string languageBody, widthBody, suffixBody;
    append_be32(languageBody, language);
    append_be32(widthBody, 1);
    append_table(suffixBody, tables.simple);
    append_table(suffixBody, tables.extended);

    std::string file;
    append_be32(file, kMagic);
    append_section(file, kSectionLanguage, languageBody);
    append_section(file, kSectionWidth, widthBody);
    append_section(file, kSectionSuffixes, suffixBody);
    append_section(file, kSectionIndex, index);
    append_section(file, kSectionSegments, data);
    counts.fileSize = file.size();
    if (summary)
        *summary = counts;
    return file;
}

} // namespace orthix

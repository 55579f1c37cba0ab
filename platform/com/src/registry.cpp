#include "com/registry.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace com {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool starts_with_caseless(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(text[i]) != lower(prefix[i])) return false;
    return true;
}

// "\a\\b\" -> "a\b": empty parts are dropped.
std::string normalize(const std::string& key) {
    std::string out;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string::npos) end = key.size();
        if (end > start) {
            if (!out.empty()) out += '\\';
            out.append(key, start, end - start);
        }
        start = end + 1;
    }
    return out;
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
bool unquote(const std::string& text, std::size_t& pos, std::string* out) {
    if (pos >= text.size() || text[pos] != '"') return false;
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') { ++pos; return true; }
        if (c == '\\') {
            if (++pos >= text.size()) return false;
            c = text[pos];
            if (c != '\\' && c != '"') return false;
        }
        *out += c;
    }
    return false;
}

void save_atomically(const std::string& path, const std::string& text) {
    std::filesystem::path target(path);
    if (target.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(target.parent_path(), ec);
    }
    std::string temp = path + ".tmp" + std::to_string(getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw RegistryError("cannot write registry file " + temp + ": " + std::strerror(errno));
    const char* p = text.data();
    std::size_t left = text.size();
    bool ok = true;
    while (ok && left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) { p += n; left -= static_cast<std::size_t>(n); }
    }
    ok = ok && ::fsync(fd) == 0;
    int error = errno;
    ::close(fd);
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        if (ok) error = errno;
        std::remove(temp.c_str());
        throw RegistryError("cannot write registry file " + path + ": " + std::strerror(error));
    }
}

} // namespace

// '\' sorts before every other character, so that a key's subkeys follow it in the file.
bool Caseless::operator()(const std::string& a, const std::string& b) const {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char x = lower(a[i]), y = lower(b[i]);
        if (x == y) continue;
        if (x == '\\' || y == '\\') return x == '\\';
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

std::string Registry::file_path() {
    if (const char* path = std::getenv("COM_REGISTRY"); path && *path) return path;
    std::string data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) data = std::string(home) + "/.local/share";
    else throw RegistryError("no registry file: set COM_REGISTRY or HOME");
    return data + "/toolkit-com/registry";
}

Registry Registry::load() {
    std::string path = file_path();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT) return {};
        throw RegistryError("cannot read registry file " + path + ": " + std::strerror(errno));
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw RegistryError("cannot read registry file " + path);
    try {
        return parse(text.str());
    } catch (const RegistryError& e) {
        throw RegistryError(path + ": " + e.what());
    }
}

void Registry::update(const std::function<void(Registry&)>& change) {
    std::string path = file_path();
    std::filesystem::path target(path);
    if (target.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(target.parent_path(), ec);
    }
    std::string lock_path = path + ".lock";
    int lock = ::open(lock_path.c_str(), O_RDWR | O_CREAT, 0644);
    if (lock < 0) throw RegistryError("cannot lock registry file " + lock_path + ": " + std::strerror(errno));
    while (::flock(lock, LOCK_EX) != 0 && errno == EINTR) {
    }
    try {
        Registry registry = load();
        change(registry);
        save_atomically(path, registry.text());
    } catch (...) {
        ::close(lock);
        throw;
    }
    ::close(lock);
}

Registry Registry::parse(const std::string& text) {
    Registry registry;
    std::istringstream lines(text);
    std::string line, key;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == ';') continue;
        auto fail = [&](const char* what) {
            throw RegistryError("line " + std::to_string(number) + ": " + what);
        };
        if (line[start] == '[') {
            std::size_t end = line.rfind(']');
            if (end == std::string::npos || end <= start + 1) fail("a key needs a name between [ and ]");
            key = normalize(line.substr(start + 1, end - start - 1));
            if (key.empty()) fail("a key needs a name between [ and ]");
            registry.create_key(key);
            continue;
        }
        if (key.empty()) fail("a value comes before any [key]");
        std::string name, value;
        std::size_t pos = start;
        if (line[pos] == '@') ++pos;
        else if (!unquote(line, pos, &name)) fail("a value must be @=\"...\" or \"name\"=\"...\"");
        if (pos >= line.size() || line[pos] != '=') fail("'=' expected after the value name");
        ++pos;
        if (!unquote(line, pos, &value)) fail("the value must be a quoted string");
        if (line.find_first_not_of(" \t", pos) != std::string::npos) fail("text after the value");
        registry.set_value(key, name, value);
    }
    return registry;
}

std::string Registry::text() const {
    std::string out;
    for (const auto& [name, key] : keys_) {
        out += '[' + name + "]\n";
        if (key.default_value) out += "@=" + quote(*key.default_value) + '\n';
        for (const auto& [value_name, value] : key.values) out += quote(value_name) + '=' + quote(value) + '\n';
    }
    return out;
}

bool Registry::has_key(const std::string& key) const { return keys_.count(normalize(key)) != 0; }

std::optional<std::string> Registry::value(const std::string& key, const std::string& name) const {
    auto k = keys_.find(normalize(key));
    if (k == keys_.end()) return std::nullopt;
    if (name.empty()) return k->second.default_value;
    auto v = k->second.values.find(name);
    if (v == k->second.values.end()) return std::nullopt;
    return v->second;
}

void Registry::create_key(const std::string& key) {
    std::string path = normalize(key);
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos || path.find(']') != std::string::npos)
        throw RegistryError("invalid registry key name \"" + key + "\"");
    for (std::size_t cut = path.find('\\'); cut != std::string::npos; cut = path.find('\\', cut + 1))
        keys_.try_emplace(path.substr(0, cut));
    keys_.try_emplace(path);
}

void Registry::set_value(const std::string& key, const std::string& name, const std::string& value) {
    if ((name + value).find_first_of("\r\n") != std::string::npos)
        throw RegistryError("registry values cannot hold line breaks");
    create_key(key);
    Key& k = keys_.at(normalize(key));
    if (name.empty()) k.default_value = value;
    else k.values[name] = value;
}

void Registry::delete_tree(const std::string& key) {
    std::string path = normalize(key);
    if (path.empty()) return;
    for (auto it = keys_.begin(); it != keys_.end();) {
        bool below = starts_with_caseless(it->first, path) &&
                     (it->first.size() == path.size() || it->first[path.size()] == '\\');
        it = below ? keys_.erase(it) : std::next(it);
    }
}

std::vector<std::string> Registry::subkeys(const std::string& key) const {
    std::string prefix = normalize(key) + '\\';
    std::vector<std::string> names;
    for (const auto& [name, k] : keys_) {
        if (starts_with_caseless(name, prefix) && name.find('\\', prefix.size()) == std::string::npos)
            names.push_back(name.substr(prefix.size()));
    }
    return names;
}

} // namespace com

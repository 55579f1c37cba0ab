// The registry that stands in for HKEY_CLASSES_ROOT: a text file of keys and string values.
// Its path is the environment variable COM_REGISTRY, else $XDG_DATA_HOME/toolkit-com/registry
// (~/.local/share/toolkit-com/registry when XDG_DATA_HOME is unset).
//
// File format, one entry per line, UTF-8:
//   [CLSID\{...}\InprocServer32]     a key: its full path, parts separated by '\'
//   @="/path/to/module.so"           the key's default value
//   "ThreadingModel"="Apartment"     a named value; '\' and '"' inside quotes are escaped by '\'
// Blank lines and lines starting with ';' are ignored. Key and value names compare without
// regard to ASCII case, as the Windows registry does.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace com {

class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Caseless {
    bool operator()(const std::string& a, const std::string& b) const;
};

class Registry {
public:
    static std::string file_path();
    // The registry file as it is now (an empty registry when the file does not exist).
    // Throws RegistryError when it cannot be read or is malformed.
    static Registry load();
    // Loads, applies change and saves, under an exclusive lock on the file so that two
    // processes never lose each other's changes; the file is replaced atomically.
    static void update(const std::function<void(Registry&)>& change);

    static Registry parse(const std::string& text);  // throws RegistryError with the line number
    std::string text() const;

    bool has_key(const std::string& key) const;
    std::optional<std::string> value(const std::string& key, const std::string& name = "") const;
    void create_key(const std::string& key);  // and its parents
    void set_value(const std::string& key, const std::string& name, const std::string& value);
    void delete_tree(const std::string& key);  // the key, its values and all keys below it
    std::vector<std::string> subkeys(const std::string& key) const;  // immediate children's names

private:
    struct Key {
        std::optional<std::string> default_value;
        std::map<std::string, std::string, Caseless> values;
    };
    std::map<std::string, Key, Caseless> keys_;
};

} // namespace com

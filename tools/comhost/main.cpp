// comhost: runs scripts of calls against registered COM objects, and registers modules.
#include "host.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

const char usage[] =
    "usage: comhost [SCRIPT]             run a script (standard input when none or -)\n"
    "       comhost --register MODULE    call the module's DllRegisterServer\n"
    "       comhost --unregister MODULE  call the module's DllUnregisterServer\n"
    "       comhost --typelib MODULE     print the module's type library\n"
    "The registry file is $COM_REGISTRY, else ~/.local/share/toolkit-com/registry.\n";

// dlopen searches the library path for a bare name; a file the user names is meant instead.
std::string module_argument(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return std::filesystem::absolute(path, ec).string();
    return path;
}

int register_module(const std::string& path, bool unregister) {
    std::string module = module_argument(path);
    std::string message;
    HRESULT hr = com::register_module(module.c_str(), unregister, &message);
    std::string registry;
    try {
        registry = com::Registry::file_path();
    } catch (const com::RegistryError& e) {
        registry = e.what();
    }
    if (FAILED(hr)) {
        std::fprintf(stderr, "comhost: %s: error 0x%08X: %s\n", path.c_str(), static_cast<unsigned>(hr),
                     message.empty() ? com::describe(hr) : message.c_str());
        return 1;
    }
    std::cout << path << (unregister ? " unregistered from " : " registered in ") << registry << '\n';
    return 0;
}

int print_type_library(const std::string& path) {
    const com::TypeLibrary* library = com::load_type_library(module_argument(path));
    if (!library) {
        std::cerr << "comhost: " << path << ": no type library (not a module, or no ComTypeLibrary export)\n";
        return 1;
    }
    std::cout << library->text();
    return 0;
}

int run_script(std::istream& script) {
    CoInitialize(nullptr);
    bool ok;
    {
        comhost::Host host(std::cout, std::cerr);
        ok = host.run(script);
    }
    CoUninitialize();
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::string first = argc > 1 ? argv[1] : "";
    if (argc == 3 && (first == "--register" || first == "--unregister")) return register_module(argv[2], first == "--unregister");
    if (argc == 3 && first == "--typelib") return print_type_library(argv[2]);
    if (argc > 2 || first == "--help" || first == "-h" || (first.starts_with("--"))) {
        std::cerr << usage;
        return first == "--help" || first == "-h" ? 0 : 2;
    }
    if (argc == 1 || first == "-") return run_script(std::cin);
    std::ifstream script(first);
    if (!script) {
        std::cerr << "comhost: cannot read " << first << '\n';
        return 2;
    }
    return run_script(script);
}

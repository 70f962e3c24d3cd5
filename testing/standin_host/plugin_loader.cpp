#include "plugin_loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace test_support::standin {

#if defined(_WIN32)

PluginLibrary::PluginLibrary(const std::string& path)
{
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error_ = "LoadLibrary failed for " + path + " (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    handle_ = module;
    entry_ = reinterpret_cast<MexEntry>(
        reinterpret_cast<void*>(GetProcAddress(module, "mexFunction")));
    if (entry_ == nullptr)
        error_ = path + " exports no mexFunction";
}

PluginLibrary::~PluginLibrary()
{
    if (handle_ != nullptr)
        FreeLibrary(static_cast<HMODULE>(handle_));
}

#else

PluginLibrary::PluginLibrary(const std::string& path)
{
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        error_ = reason != nullptr ? reason : "dlopen failed for " + path;
        return;
    }
    entry_ = reinterpret_cast<MexEntry>(dlsym(handle_, "mexFunction"));
    if (entry_ == nullptr)
        error_ = path + " exports no mexFunction";
}

PluginLibrary::~PluginLibrary()
{
    if (handle_ != nullptr)
        dlclose(handle_);
}

#endif

}  // namespace test_support::standin

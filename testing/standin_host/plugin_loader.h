// Opens a plug-in library by path and finds its mexFunction, as a host does.
#ifndef VESK_TESTING_PLUGIN_LOADER_H
#define VESK_TESTING_PLUGIN_LOADER_H

#include <string>

#include "standin_host.h"

namespace test_support::standin {

class PluginLibrary {
public:
    // On failure entry() is null and error() says why.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    MexEntry entry() const { return entry_; }
    const std::string& error() const { return error_; }

private:
    void* handle_ = nullptr;
    MexEntry entry_ = nullptr;
    std::string error_;
};

}  // namespace test_support::standin

#endif

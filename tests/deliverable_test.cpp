// The built .mexa64 files load into any MATLAB-style host on Linux: they
// export mexFunction alone, need nothing but the C library and the host's
// libmx/libmex at load time (MATLAB brings its own older libstdc++ and
// libgcc_s), ask only for long-standing glibc symbol versions, and call only
// the host functions the project's import list names.
#include <stdio.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "plugins_under_test.h"

using namespace test_support;

namespace {

std::string run(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[4096];
    size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, read);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return output;
}

struct DynamicSymbol {
    std::string name;
    std::string version;  // "GLIBC_2.2.5", or empty
    bool defined;
    bool weak;
};

// readelf's view of the dynamic symbol table.
std::vector<DynamicSymbol> dynamicSymbols(const std::string& library)
{
    std::vector<DynamicSymbol> symbols;
    std::istringstream lines(run("readelf --dyn-syms --wide '" + library + "'"));
    const std::regex row(R"(^\s*\d+:\s+[0-9a-f]+\s+\d+\s+(\w+)\s+(\w+)\s+\w+\s+(\w+)\s+(\S+))");
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (!std::regex_search(line, match, row))
            continue;
        const std::string type = match[1], binding = match[2], section = match[3];
        std::string name = match[4], version;
        if (type == "SECTION" || type == "FILE" || name.empty())
            continue;
        const size_t at = name.find('@');
        if (at != std::string::npos) {
            version = name.substr(name.find_first_not_of('@', at));
            name = name.substr(0, at);
        }
        symbols.push_back({name, version, section != "UND", binding == "WEAK"});
    }
    return symbols;
}

// Weak references the C runtime's start-up files leave in every shared object.
bool isRuntimeStartup(const DynamicSymbol& symbol)
{
    static const std::set<std::string> names = {"__cxa_finalize", "__gmon_start__",
                                                 "_ITM_registerTMCloneTable",
                                                 "_ITM_deregisterTMCloneTable"};
    return symbol.weak && names.count(symbol.name) != 0;
}

const std::set<std::string> kHostFunctions = {
    "mxGetM",       "mxGetN",         "mxGetPr",     "mxGetData",
    "mxGetClassID", "mxGetClassName", "mxIsComplex", "mxIsSparse",
    "mxIsNumeric",  "mxIsLogical",
    "mxGetNumberOfDimensions_730",    "mxCreateNumericMatrix_700",
    "mxMalloc",     "mxFree",         "mexErrMsgIdAndTxt", "mexWarnMsgIdAndTxt"};

struct Deliverable {
    const char* name;
    const std::string& (*path)();
    std::set<std::string> cLibraryCalls;  // what the plug-in's own code may call in libc
};

void PrintTo(const Deliverable& deliverable, std::ostream* out)
{
    *out << deliverable.name;
}

class DeliverableLibrary : public ::testing::TestWithParam<Deliverable> {};

}  // namespace

TEST_P(DeliverableLibrary, NeedsOnlyTheCLibraryAndTheHost)
{
    const std::string dynamic = run("readelf --dynamic --wide '" + GetParam().path() + "'");
    const std::regex needed(R"(\(NEEDED\)\s+Shared library: \[([^\]]+)\])");
    std::set<std::string> libraries;
    for (std::sregex_iterator it(dynamic.begin(), dynamic.end(), needed), end; it != end; ++it)
        libraries.insert((*it)[1]);
    for (const std::string& library : libraries)
        EXPECT_TRUE(library == "libc.so.6" || library == "libmx.so" || library == "libmex.so")
            << "needs " << library;
    EXPECT_EQ(libraries.count("libmx.so"), 1u);
    EXPECT_EQ(dynamic.find("(RPATH)"), std::string::npos) << "an RPATH into the build tree";
    EXPECT_EQ(dynamic.find("(RUNPATH)"), std::string::npos) << "a RUNPATH into the build tree";
    EXPECT_EQ(dynamic.find("(TEXTREL)"), std::string::npos) << "text relocations";
}

TEST_P(DeliverableLibrary, ExportsMexFunctionAlone)
{
    std::set<std::string> exported;
    for (const DynamicSymbol& symbol : dynamicSymbols(GetParam().path()))
        if (symbol.defined)
            exported.insert(symbol.name);
    EXPECT_EQ(exported, std::set<std::string>{"mexFunction"});
}

TEST_P(DeliverableLibrary, ImportsOnlyHostFunctionsAndOldGlibcVersions)
{
    const std::vector<DynamicSymbol> symbols = dynamicSymbols(GetParam().path());
    ASSERT_FALSE(symbols.empty());
    for (const DynamicSymbol& symbol : symbols) {
        if (symbol.defined || isRuntimeStartup(symbol))
            continue;
        EXPECT_TRUE(kHostFunctions.count(symbol.name) != 0 ||
                    GetParam().cLibraryCalls.count(symbol.name) != 0)
            << "imports " << symbol.name;
    }
    // glibc 2.17 (2012) is the oldest any supported MATLAB runs on.
    const std::regex glibc(R"(^GLIBC_2\.(\d+)(\.\d+)?$)");
    for (const DynamicSymbol& symbol : symbols) {
        if (symbol.version.empty())
            continue;
        std::smatch match;
        ASSERT_TRUE(std::regex_match(symbol.version, match, glibc))
            << symbol.name << " needs " << symbol.version;
        EXPECT_LE(std::stoi(match[1]), 17) << symbol.name << " needs " << symbol.version;
    }
}

TEST_P(DeliverableLibrary, VersionNeedsNameOnlyGlibc)
{
    const std::string versions = run("readelf --version-info --wide '" + GetParam().path() + "'");
    const std::regex file(R"(File: (\S+))");
    for (std::sregex_iterator it(versions.begin(), versions.end(), file), end; it != end; ++it)
        EXPECT_EQ((*it)[1], "libc.so.6") << "a symbol version from " << (*it)[1];
    EXPECT_EQ(versions.find("GLIBCXX"), std::string::npos);
    EXPECT_EQ(versions.find("CXXABI"), std::string::npos);
    EXPECT_EQ(versions.find("GCC_"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Plugins, DeliverableLibrary,
                         ::testing::Values(Deliverable{"Vesk", veskPath, {"qsort"}},
                                           Deliverable{"Vesk2", vesk2Path, {}}),
                         [](const ::testing::TestParamInfo<Deliverable>& param) {
                             return std::string(param.param.name);
                         });

// The case tables every host-level suite runs: the Linux suites, the Windows
// host program (native and under Wine) and, through them, both plug-ins.
// Data only; each suite decides how to call and compare.
#ifndef VESK_TESTING_CASE_TABLES_H
#define VESK_TESTING_CASE_TABLES_H

#include <stddef.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "standin_host.h"

namespace test_support {

enum class Plugin { Vesk, Vesk2 };

const char* nameOf(Plugin plugin);

void PrintTo(Plugin plugin, std::ostream* out);  // the name GoogleTest shows

// A fixed input whose outputs are known exactly, bit for bit.
struct ExactCase {
    const char* what;
    Plugin plugin;
    size_t rows, columns;
    std::vector<double> input;
    std::vector<double> map;
    std::vector<std::pair<int, double>> second;  // the non-zero elements of the second output
};

// The second output in full: 101 elements for Vesk, 1 for Vesk2.
std::vector<double> secondOutputOf(const ExactCase& c);

// The worked examples and the edge cases of both plug-ins.
const std::vector<ExactCase>& exactCases();

void PrintTo(const ExactCase& c, std::ostream* out);  // the name GoogleTest shows

// A call both plug-ins refuse: the identifier after "Vesk:" / "Vesk2:" and
// pieces of the message, in which "$" stands for the plug-in's name.
// The integer classes both plug-ins refuse, with the conversion of the
// class's whole range each one's refusal must advise: written here, apart
// from the plug-ins' own table, so that a wrong advice shows.
struct RefusedIntegerClass {
    mxClassID classId;
    const char* name;      // "int32"
    const char* caseName;  // "Int32"
    const char* veskAdvice;
    const char* vesk2Advice;
};

const std::vector<RefusedIntegerClass>& refusedIntegerClasses();

// The classes the refusals say the plug-ins take, as the messages list them.
extern const char* const kAcceptedClassesSentence;

struct Rejection {
    std::string what;
    std::vector<standin::InputMatrix> inputs;
    int outputCount;
    const char* reason;
    std::vector<std::string> gist;
};

const std::vector<Rejection>& rejections();

void PrintTo(const Rejection& rejection, std::ostream* out);

// text with every "$" replaced by name.
std::string withName(std::string text, const std::string& name);

}  // namespace test_support

#endif

// The stand-in host itself: it must see every breach of the host contract a
// faulty plug-in could commit, or the plug-in tests prove nothing.
#include <gtest/gtest.h>

#include "standin_host.h"

using namespace test_support;

namespace {

bool sawFault(const standin::CallReport& report, const std::string& piece)
{
    for (const std::string& fault : report.faults)
        if (fault.find(piece) != std::string::npos)
            return true;
    return false;
}

#if defined(__SANITIZE_ADDRESS__)
#define VESK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VESK_UNDER_ASAN 1
#endif
#endif

// Under AddressSanitizer the guard zones are poisoned: a write into them ends
// the program, so those cases are for the plain build.
#ifdef VESK_UNDER_ASAN
#define SKIP_UNDER_ASAN() GTEST_SKIP() << "the sanitizer reports this breach itself"
#else
#define SKIP_UNDER_ASAN() (void)0
#endif

const standin::InputMatrix kInput = standin::doubleMatrix(2, 2, {1, 2, 3, 4});

}  // namespace

TEST(StandinHost, SeesAWritePastAnOutput)
{
    SKIP_UNDER_ASAN();
    const standin::CallReport report = standin::callEntry(
        [](int, mxArray* plhs[], int, const mxArray*[]) {
            plhs[0] = mxCreateNumericMatrix_700(2, 2, mxDOUBLE_CLASS, mxREAL);
            mxGetPr(plhs[0])[4] = 1.0;
        },
        {kInput});
    EXPECT_TRUE(sawFault(report, "guard bytes overwritten around matrix data"));
}

TEST(StandinHost, SeesAWritePastScratch)
{
    SKIP_UNDER_ASAN();
    const standin::CallReport report = standin::callEntry(
        [](int, mxArray*[], int, const mxArray*[]) {
            int* scratch = static_cast<int*>(mxMalloc(16));
            scratch[-1] = 7;
            mxFree(scratch);
        },
        {kInput});
    EXPECT_TRUE(sawFault(report, "around mxMalloc scratch"));
}

TEST(StandinHost, SeesAWritePastTheOutputSlots)
{
    SKIP_UNDER_ASAN();
    standin::CallOptions options;
    options.outputCount = 1;
    const standin::CallReport report = standin::callEntry(
        [](int, mxArray* plhs[], int, const mxArray*[]) {
            plhs[0] = mxCreateNumericMatrix_700(1, 1, mxDOUBLE_CLASS, mxREAL);
            plhs[1] = mxCreateNumericMatrix_700(1, 1, mxDOUBLE_CLASS, mxREAL);
        },
        {kInput}, options);
    EXPECT_TRUE(sawFault(report, "the output slots"));
}

TEST(StandinHost, SeesAModifiedInput)
{
    const standin::CallReport report = standin::callEntry(
        [](int, mxArray*[], int, const mxArray* prhs[]) { mxGetPr(prhs[0])[3] = -0.0; },
        {kInput});
    EXPECT_TRUE(sawFault(report, "input 0 was modified"));
}

TEST(StandinHost, SeesAFreeOfForeignMemory)
{
    const standin::CallReport report = standin::callEntry(
        [](int, mxArray*[], int, const mxArray* prhs[]) { mxFree(mxGetPr(prhs[0])); },
        {kInput});
    EXPECT_TRUE(sawFault(report, "mxFree of a pointer"));
}

TEST(StandinHost, ReclaimsWhatACallLeavesAndStartsScratchUncleared)
{
    const standin::CallReport report = standin::callEntry(
        [](int, mxArray* plhs[], int, const mxArray*[]) {
            plhs[0] = mxCreateNumericMatrix_700(1, 1, mxDOUBLE_CLASS, mxREAL);
            mxCreateNumericMatrix_700(3, 3, mxDOUBLE_CLASS, mxREAL);
            unsigned char* scratch = static_cast<unsigned char*>(mxMalloc(8));
            mxGetPr(plhs[0])[0] = scratch[0];
        },
        {kInput});
    EXPECT_TRUE(report.completed);
    EXPECT_TRUE(report.faults.empty());
    EXPECT_EQ(report.matricesCreated, 2);
    EXPECT_EQ(report.matricesReclaimed, 1);
    ASSERT_EQ(report.scratch.size(), 1u);
    EXPECT_TRUE(report.scratch[0].reclaimed);
    EXPECT_NE(report.outputs[0]->values[0], 0.0) << "mxMalloc must not hand out cleared memory";
    EXPECT_EQ(standin::heldAllocations(), 0u);
}

TEST(StandinHost, ErrorCallEndsTheCallAndReclaims)
{
    const standin::CallReport report = standin::callEntry(
        [](int, mxArray* plhs[], int, const mxArray*[]) {
            plhs[0] = mxCreateNumericMatrix_700(4, 4, mxDOUBLE_CLASS, mxREAL);
            mxMalloc(100);
            mexErrMsgIdAndTxt("Test:failed", "failed after %d steps", 2);
            plhs[0] = nullptr;  // never reached
        },
        {kInput});
    EXPECT_FALSE(report.completed);
    EXPECT_EQ(report.errorIdentifier, "Test:failed");
    EXPECT_EQ(report.errorMessage, "failed after 2 steps");
    EXPECT_FALSE(report.outputs[0].has_value());  // a failed call returns nothing
    EXPECT_EQ(report.matricesCreated, 1);
    EXPECT_EQ(standin::heldAllocations(), 0u);
}

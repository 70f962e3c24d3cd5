// A plug-in DLL with every fault the table check must catch: a second export,
// the C runtime's start-up imports (KERNEL32, msvcrt), a host function that no
// .def file lists, and a host function imported by ordinal.
#include <stddef.h>
#include <stdio.h>

extern "C" __declspec(dllimport) size_t mxGetM(const void* array);
extern "C" __declspec(dllimport) void mxUnlistedFunction();

extern "C" __declspec(dllexport) void mexFunction(int, void**, int, const void** inputs)
{
    printf("%zu\n", mxGetM(inputs[0]));
    mxUnlistedFunction();
}

extern "C" __declspec(dllexport) void anotherExport() {}

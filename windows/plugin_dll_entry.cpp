// The entry point Windows calls when it loads or unloads a plug-in DLL. The
// plug-ins link no runtime start-up code: they have no static constructors,
// no thread-local storage and nothing to set up, so loading always succeeds.
extern "C" int __stdcall DllMainCRTStartup(void* module, unsigned long reason, void* reserved)
{
    (void)module;
    (void)reason;
    (void)reserved;
    return 1;
}

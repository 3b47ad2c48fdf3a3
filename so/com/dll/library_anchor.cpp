// The library's version, readable before the COM entry points exist.
extern "C" {
#ifdef _WIN32
__declspec(dllexport)
#else
__attribute__((visibility("default")))
#endif
const char* ZobelsoVersion() { return "1.13.001"; }
}

#include <windows.h>
extern "C" __declspec(dllexport) void WINAPI SetStartupInfo(const void *) {}
extern "C" __declspec(dllexport) void WINAPI GetPluginInfo(void *) {}

#include "MidiLibrary.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace {

template <class F> bool BindOne(void* module, const char* name, F& slot)
{
    slot = reinterpret_cast<F>(dlsym(module, name));
    return slot != nullptr;
}

} // namespace

std::string ExecutableFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    std::string p(path, static_cast<size_t>(n));
    const size_t slash = p.rfind('/');
    return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

TMidiLibrary::~TMidiLibrary()
{
    Unload();
}

bool TMidiLibrary::Load(const std::string& fileName)
{
    Unload();
    if (fileName.find('/') != std::string::npos) {
        Module = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    } else {
        const std::string folder = ExecutableFolder();
        if (!folder.empty())
            Module = dlopen((folder + "/" + fileName).c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (!Module)
            Module = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    }
    if (!Module)
        return false;
    if (!Bind()) {
        Unload();
        return false;
    }
    return true;
}

bool TMidiLibrary::Bind()
{
    void* m = Module;
    const bool all = BindOne(m, "AllocInst", Fn.AllocInst) && BindOne(m, "DeallocInst", Fn.DeallocInst) &&
                     BindOne(m, "QMmidiOutOpen", Fn.OutOpen) && BindOne(m, "QMmidiOutClose", Fn.OutClose) &&
                     BindOne(m, "QMmidiOutShortMsg", Fn.OutShortMsg) && BindOne(m, "QMmidiOutReset", Fn.OutReset) &&
                     BindOne(m, "QMmidiOutCachePatches", Fn.OutCachePatches) &&
                     BindOne(m, "QMmidiOutCacheDrumPatches", Fn.OutCacheDrumPatches) &&
                     BindOne(m, "QMmidiOutGetID", Fn.OutGetID) && BindOne(m, "QMmidiInOpen", Fn.InOpen) &&
                     BindOne(m, "QMmidiInClose", Fn.InClose) && BindOne(m, "QMmidiInStart", Fn.InStart) &&
                     BindOne(m, "QMmidiInStop", Fn.InStop) && BindOne(m, "QMmidiInReset", Fn.InReset) &&
                     BindOne(m, "QMmidiInGetID", Fn.InGetID) && BindOne(m, "IsPlaying", Fn.IsPlaying) &&
                     BindOne(m, "GetSPP", Fn.GetSPP) && BindOne(m, "Play", Fn.Play) && BindOne(m, "Load", Fn.Load) &&
                     BindOne(m, "Stop", Fn.Stop) && BindOne(m, "IsRecording", Fn.IsRecording) &&
                     BindOne(m, "SetRecording", Fn.SetRecording) && BindOne(m, "GetRecorded", Fn.GetRecorded) &&
                     BindOne(m, "SetEchoWindow", Fn.SetEchoWindow) && BindOne(m, "SetEcho", Fn.SetEcho);
    if (!all)
        return false;
    BindOne(m, "QMmidiOutGetNumDevs", Ext.OutGetNumDevs);
    BindOne(m, "QMmidiOutGetDevCaps", Ext.OutGetDevCaps);
    BindOne(m, "QMCaptureCount", Ext.CaptureCount);
    BindOne(m, "QMCaptureRead", Ext.CaptureRead);
    BindOne(m, "QMCaptureClear", Ext.CaptureClear);
    BindOne(m, "QMOfflineOpen", Ext.OfflineOpen);
    BindOne(m, "QMSetSoundFont", Ext.SetSoundFont);
    BindOne(m, "QMGetLastError", Ext.GetLastError);
    BindOne(m, "QMOfflineFrames", Ext.OfflineFrames);
    return true;
}

void TMidiLibrary::Unload()
{
    // Loaded with RTLD_NODELETE: the code stays mapped, so nothing the
    // library left behind (its registry, a synthesizer ringing out) dangles.
    if (Module)
        dlclose(Module);
    Module = nullptr;
    Fn = TMidiLibFunctions{};
    Ext = TMidiLibExtras{};
}

std::string TMidiLibrary::LastError() const
{
    if (!Ext.GetLastError)
        return {};
    char text[512];
    Ext.GetLastError(text, sizeof text);
    return text;
}

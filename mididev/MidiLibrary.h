// The MIDI utility library bound at run time: the shared object found by
// name (next to the executable first, then the library path) and its
// exports looked up by name.
#pragma once

#include <string>

#include "midilib/QMMidiLib.h"

// The 25 exports, in the order they are bound.
struct TMidiLibFunctions {
    decltype(&::AllocInst) AllocInst = nullptr;
    decltype(&::DeallocInst) DeallocInst = nullptr;
    decltype(&::QMmidiOutOpen) OutOpen = nullptr;
    decltype(&::QMmidiOutClose) OutClose = nullptr;
    decltype(&::QMmidiOutShortMsg) OutShortMsg = nullptr;
    decltype(&::QMmidiOutReset) OutReset = nullptr;
    decltype(&::QMmidiOutCachePatches) OutCachePatches = nullptr;
    decltype(&::QMmidiOutCacheDrumPatches) OutCacheDrumPatches = nullptr;
    decltype(&::QMmidiOutGetID) OutGetID = nullptr;
    decltype(&::QMmidiInOpen) InOpen = nullptr;
    decltype(&::QMmidiInClose) InClose = nullptr;
    decltype(&::QMmidiInStart) InStart = nullptr;
    decltype(&::QMmidiInStop) InStop = nullptr;
    decltype(&::QMmidiInReset) InReset = nullptr;
    decltype(&::QMmidiInGetID) InGetID = nullptr;
    decltype(&::IsPlaying) IsPlaying = nullptr;
    decltype(&::GetSPP) GetSPP = nullptr;
    decltype(&::Play) Play = nullptr;
    decltype(&::Load) Load = nullptr;
    decltype(&::Stop) Stop = nullptr;
    decltype(&::IsRecording) IsRecording = nullptr;
    decltype(&::SetRecording) SetRecording = nullptr;
    decltype(&::GetRecorded) GetRecorded = nullptr;
    decltype(&::SetEchoWindow) SetEchoWindow = nullptr;
    decltype(&::SetEcho) SetEcho = nullptr;
};

// The library's own exports beyond the 25; each may be missing.
struct TMidiLibExtras {
    decltype(&::QMmidiOutGetNumDevs) OutGetNumDevs = nullptr;
    decltype(&::QMmidiOutGetDevCaps) OutGetDevCaps = nullptr;
    decltype(&::QMCaptureCount) CaptureCount = nullptr;
    decltype(&::QMCaptureRead) CaptureRead = nullptr;
    decltype(&::QMCaptureClear) CaptureClear = nullptr;
    decltype(&::QMOfflineOpen) OfflineOpen = nullptr;
    decltype(&::QMSetSoundFont) SetSoundFont = nullptr;
    decltype(&::QMGetLastError) GetLastError = nullptr;
    decltype(&::QMOfflineFrames) OfflineFrames = nullptr;
};

class TMidiLibrary {
public:
    TMidiLibrary() = default;
    ~TMidiLibrary();
    TMidiLibrary(const TMidiLibrary&) = delete;
    TMidiLibrary& operator=(const TMidiLibrary&) = delete;

    // Loads the file by name: first from the executable's folder, then
    // through the library path. All 25 exports must be there; otherwise
    // nothing stays loaded. A name holding a '/' is taken as a path.
    bool Load(const std::string& fileName = QM_MIDILIB_FILE_NAME);
    void Unload();
    bool IsLoaded() const { return Module != nullptr; }

    const TMidiLibFunctions& Functions() const { return Fn; }
    const TMidiLibExtras& Extras() const { return Ext; }
    // The last error text of the library's outputs (empty when it has none).
    std::string LastError() const;

private:
    bool Bind();

    void* Module = nullptr;
    TMidiLibFunctions Fn;
    TMidiLibExtras Ext;
};

// The folder of the running executable, without the trailing '/'.
std::string ExecutableFolder();

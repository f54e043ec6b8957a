/* The public interface of the MIDI utility library libqmmid32b.so.
 *
 * The 25 exports the player binds by name, plus a few of the library's own:
 * the output device list, the capture log and the offline (WAV) output.
 * Plain C; the records come from perform/MidiLibTypes.h. */
#ifndef QM_QMMIDILIB_H
#define QM_QMMIDILIB_H

#include <stdint.h>

#include "perform/MidiLibTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(QM_MIDILIB_BUILD)
#define QM_MIDILIB_API __attribute__((visibility("default")))
#else
#define QM_MIDILIB_API
#endif

/* The file name the player loads. */
#define QM_MIDILIB_FILE_NAME "libqmmid32b.so"

/* Device id of the mapper: the built-in General MIDI synthesizer. */
#define QM_MIDI_MAPPER_ID 0xFFFFu

/* Status results besides QM_MIDI_OK and QM_MIDI_NOT_READY. */
enum {
    QM_MIDI_ERROR = 1,         /* unspecified failure */
    QM_MIDI_BAD_DEVICE_ID = 2, /* no such device */
    QM_MIDI_INVALID_HANDLE = 5,
    QM_MIDI_BAD_PARAM = 11,
    QM_MIDI_NO_DRIVER = 6      /* the device exists but its output could not start */
};

/* The notification target handed to "Play": the library calls Post(Owner,
 * message, value) from its own thread; Post must only queue the pair for the
 * owner's event loop. The record is copied by "Play". */
#define QM_MIDI_SEQ_MESSAGE 1u /* the "QMSMidiSeq" message; value 1 next block, 2 song end */
typedef void (*TQMMidiPostFunc)(void* owner, uint32_t message, uint32_t value);
typedef struct TQMMidiNotifyTarget {
    TQMMidiPostFunc Post;
    void* Owner;
} TQMMidiNotifyTarget;

/* Capabilities of one output device. */
enum { QM_MIDI_CAPS_CACHE = 0x0004 }; /* the device caches patches */
enum {
    QM_MIDI_TECH_SYNTH = 1,   /* the built-in synthesizer */
    QM_MIDI_TECH_PORT = 2,    /* a sequencer port of another program */
    QM_MIDI_TECH_CAPTURE = 3, /* the capture output */
    QM_MIDI_TECH_OFFLINE = 4  /* an offline WAV output */
};
typedef struct TQMMidiOutCaps {
    char Name[32];     /* NUL-terminated */
    uint32_t Support;  /* QM_MIDI_CAPS_* bits */
    uint16_t Technology;
    uint16_t Reserved;
} TQMMidiOutCaps;

/* One message recorded by the capture output. */
typedef struct TQMMidiCaptureRecord {
    int64_t TimeNs;   /* monotonic time when sent, from the start of the current song */
    int64_t IdealNs;  /* the time the schedule gave it, -1 for a message sent directly */
    uint32_t Message; /* status | data1 << 8 | data2 << 16 */
    uint8_t Port;     /* the port of the play info it went out on (0 when sent directly) */
    uint8_t Reserved[3];
} TQMMidiCaptureRecord;

/* ---- The 25 exports, in the order the player binds them. ---- */
QM_MIDILIB_API uint32_t AllocInst(TQMMidiInstance* instance);
QM_MIDILIB_API void DeallocInst(TQMMidiInstance* instance);
QM_MIDILIB_API uint16_t QMmidiOutOpen(TQMMidiHandle* handle, uint16_t deviceId);
QM_MIDILIB_API uint16_t QMmidiOutClose(TQMMidiHandle handle);
QM_MIDILIB_API uint16_t QMmidiOutShortMsg(TQMMidiHandle handle, uint32_t message);
QM_MIDILIB_API uint16_t QMmidiOutReset(TQMMidiHandle handle);
QM_MIDILIB_API uint16_t QMmidiOutCachePatches(TQMMidiHandle handle, uint16_t bank, uint16_t* masks, uint16_t mode);
QM_MIDILIB_API uint16_t QMmidiOutCacheDrumPatches(TQMMidiHandle handle, uint16_t patch, uint16_t* masks,
                                                  uint16_t mode);
QM_MIDILIB_API uint16_t QMmidiOutGetID(TQMMidiHandle handle, uint16_t* deviceId);
QM_MIDILIB_API uint16_t QMmidiInOpen(TQMMidiInstance* instance, TQMMidiHandle* handle, uint16_t deviceId);
QM_MIDILIB_API uint16_t QMmidiInClose(TQMMidiHandle handle);
QM_MIDILIB_API uint16_t QMmidiInStart(TQMMidiHandle handle);
QM_MIDILIB_API uint16_t QMmidiInStop(TQMMidiHandle handle);
QM_MIDILIB_API uint16_t QMmidiInReset(TQMMidiHandle handle);
QM_MIDILIB_API uint16_t QMmidiInGetID(TQMMidiHandle handle, uint16_t* deviceId);
QM_MIDILIB_API uint32_t IsPlaying(TQMMidiInstance* instance);
QM_MIDILIB_API int32_t GetSPP(TQMMidiInstance* instance);
QM_MIDILIB_API uint32_t Play(TQMMidiInstance* instance, const TQMMidiNotifyTarget* target,
                             const TQMMidiPlayInfo* info, const TQMMidiBlockRecord* block);
QM_MIDILIB_API void Load(TQMMidiInstance* instance, const TQMMidiBlockRecord* block);
QM_MIDILIB_API void Stop(TQMMidiInstance* instance);
QM_MIDILIB_API uint32_t IsRecording(TQMMidiInstance* instance);
QM_MIDILIB_API void SetRecording(TQMMidiInstance* instance, uint32_t on);
QM_MIDILIB_API uint32_t GetRecorded(TQMMidiInstance* instance, TQMMidiBlockRecord* block);
QM_MIDILIB_API void SetEchoWindow(TQMMidiInstance* instance, const TQMMidiNotifyTarget* target);
QM_MIDILIB_API void SetEcho(TQMMidiInstance* instance, TQMMidiHandle handle, uint16_t channel);

/* ---- The library's own exports. ---- */
/* Number of output devices (ids 0..n-1; the mapper is not counted). Refreshes the list. */
QM_MIDILIB_API uint16_t QMmidiOutGetNumDevs(void);
/* Capabilities of device id, or of the mapper for QM_MIDI_MAPPER_ID. */
QM_MIDILIB_API uint16_t QMmidiOutGetDevCaps(uint16_t deviceId, TQMMidiOutCaps* caps);
/* The capture log: everything sent to capture devices, oldest first. */
QM_MIDILIB_API uint32_t QMCaptureCount(void);
QM_MIDILIB_API uint32_t QMCaptureRead(uint32_t first, TQMMidiCaptureRecord* records, uint32_t max);
QM_MIDILIB_API void QMCaptureClear(void);
/* An offline output: the built-in synthesizer rendering into a 16-bit stereo
 * WAV file as fast as possible when played. soundFont may be null (the usual
 * places are searched); rate 0 means 44100. The file is complete when the
 * song end is reported, or when the song is stopped. */
QM_MIDILIB_API uint16_t QMOfflineOpen(TQMMidiHandle* handle, const char* wavPath, const char* soundFont,
                                      uint32_t sampleRate);
/* Soundfont of the built-in live synthesizer (null = search the usual places);
 * takes effect when it is next started. */
QM_MIDILIB_API void QMSetSoundFont(const char* path);
/* Text of the last failure of an output (audio driver, soundfont, file). */
QM_MIDILIB_API uint32_t QMGetLastError(char* text, uint32_t size);
/* Frames written by an offline output so far (0 for other handles). */
QM_MIDILIB_API uint64_t QMOfflineFrames(TQMMidiHandle handle);

#ifdef __cplusplus
}
#endif

#endif /* QM_QMMIDILIB_H */

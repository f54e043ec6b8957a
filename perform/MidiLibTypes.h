/* The records that pass between the program and the MIDI utility library.
 * Plain C layout, little-endian, exact to the byte; includable from C and C++. */
#ifndef QM_MIDILIBTYPES_H
#define QM_MIDILIBTYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define QM_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
extern "C" {
#else
#define QM_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

/* Sizes and counts. */
enum {
    QM_MIDI_BLOCK_EVENTS = 1024,  /* events per block */
    QM_MIDI_MAX_BLOCKS = 1024,    /* blocks per song buffer */
    QM_MIDI_OUT_PORTS = 16,       /* output handles in the play info */
    QM_MIDI_INSTANCE_SIZE = 36    /* bytes of the instance block, its first word */
};

/* Event type: high nibble of TQMMidiEventRecord.Flags. */
enum {
    QM_EVENT_MIDI = 0,           /* Status, Data1, Data2 as sent; low nibble of Flags = port */
    QM_EVENT_TEMPO = 1,          /* bytes 4-6: microseconds per quarter, 24-bit */
    QM_EVENT_TIME_SIGNATURE = 2, /* byte 4 beats, byte 5 beat unit as a power of two */
    QM_EVENT_KEY_SIGNATURE = 3,  /* bytes 4-5 signed key, byte 6 minor */
    QM_EVENT_PAUSE = 4           /* bytes 4-5: length in units of 48 ticks */
};

/* Message kind: bits 4-6 of Status of a MIDI event. */
enum {
    QM_MSG_NOTE_OFF = 0,
    QM_MSG_NOTE_ON = 1,
    QM_MSG_KEY_PRESSURE = 2,
    QM_MSG_CONTROL_CHANGE = 3,
    QM_MSG_PROGRAM_CHANGE = 4,
    QM_MSG_CHANNEL_PRESSURE = 5,
    QM_MSG_PITCH_BEND = 6
};

/* wParam of the "QMSMidiSeq" notification. */
enum {
    QM_SEQ_NEXT_BLOCK = 1,  /* load the next block */
    QM_SEQ_SONG_END = 2     /* the song has ended */
};

/* Status results are 16-bit, 0 = success. */
enum {
    QM_MIDI_OK = 0,
    QM_MIDI_NOT_READY = 67
};

/* Cache modes of the patch caching exports. */
enum {
    QM_CACHE_BEST_FIT = 2,
    QM_CACHE_QUERY = 3,
    QM_CACHE_UNCACHE = 4
};

/* Device handles are opaque 32-bit values, 0 = none. */
typedef uint32_t TQMMidiHandle;

/* One song event, 8 bytes. */
typedef struct TQMMidiEventRecord {
    int32_t Time;    /* ticks (192 per quarter) from the start of the song */
    uint8_t Status;  /* MIDI status byte, or first payload byte */
    uint8_t Data1;
    uint8_t Data2;
    uint8_t Flags;   /* bits 4-7 event type, bits 0-3 output port */
} TQMMidiEventRecord;

/* One block of events, 8196 bytes; the first Count events are valid and sorted. */
typedef struct TQMMidiBlockRecord {
    int16_t Count;
    uint16_t Reserved;
    TQMMidiEventRecord Events[QM_MIDI_BLOCK_EVENTS];
} TQMMidiBlockRecord;

/* The instance block handed to every instance export: Size = 36, the rest zero. */
typedef struct TQMMidiInstance {
    uint32_t Size;
    uint8_t Reserved[32];
} TQMMidiInstance;

/* The play info handed to "Play", 70 bytes, no padding. */
#pragma pack(push, 1)
typedef struct TQMMidiPlayInfo {
    uint16_t TimerPeriod;
    uint16_t TimerResolution;
    uint16_t Reserved;  /* zero */
    TQMMidiHandle OutHandles[QM_MIDI_OUT_PORTS];  /* by port, 0 where not open */
} TQMMidiPlayInfo;
#pragma pack(pop)

QM_STATIC_ASSERT(sizeof(TQMMidiEventRecord) == 8, "event record is 8 bytes");
QM_STATIC_ASSERT(offsetof(TQMMidiEventRecord, Time) == 0, "event Time offset");
QM_STATIC_ASSERT(offsetof(TQMMidiEventRecord, Status) == 4, "event Status offset");
QM_STATIC_ASSERT(offsetof(TQMMidiEventRecord, Data1) == 5, "event Data1 offset");
QM_STATIC_ASSERT(offsetof(TQMMidiEventRecord, Data2) == 6, "event Data2 offset");
QM_STATIC_ASSERT(offsetof(TQMMidiEventRecord, Flags) == 7, "event Flags offset");

QM_STATIC_ASSERT(sizeof(TQMMidiBlockRecord) == 8196, "block is 8196 bytes");
QM_STATIC_ASSERT(offsetof(TQMMidiBlockRecord, Count) == 0, "block Count offset");
QM_STATIC_ASSERT(offsetof(TQMMidiBlockRecord, Reserved) == 2, "block reserved offset");
QM_STATIC_ASSERT(offsetof(TQMMidiBlockRecord, Events) == 4, "block Events offset");

QM_STATIC_ASSERT(sizeof(TQMMidiInstance) == QM_MIDI_INSTANCE_SIZE, "instance block is 36 bytes");
QM_STATIC_ASSERT(offsetof(TQMMidiInstance, Size) == 0, "instance Size offset");

QM_STATIC_ASSERT(sizeof(TQMMidiPlayInfo) == 70, "play info is 70 bytes");
QM_STATIC_ASSERT(offsetof(TQMMidiPlayInfo, TimerPeriod) == 0, "play info TimerPeriod offset");
QM_STATIC_ASSERT(offsetof(TQMMidiPlayInfo, TimerResolution) == 2, "play info TimerResolution offset");
QM_STATIC_ASSERT(offsetof(TQMMidiPlayInfo, Reserved) == 4, "play info reserved offset");
QM_STATIC_ASSERT(offsetof(TQMMidiPlayInfo, OutHandles) == 6, "play info OutHandles offset");

#ifdef __cplusplus
}
#endif

#undef QM_STATIC_ASSERT

#endif /* QM_MIDILIBTYPES_H */

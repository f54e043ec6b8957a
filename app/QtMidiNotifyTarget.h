// The registered event types of the player ("QMSMidiSeq" from the MIDI
// library, "QMINIT" posted by the client to itself) and the library's
// notification target, which turns the library's posts into Qt events.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

#include "mididev/MidiManager.h"

class TPlayerEvents {
public:
    static constexpr const char* MidiSeqName = "QMSMidiSeq";
    static constexpr const char* InitName = "QMINIT";

    // Registers both types once; later calls return at once.
    static void Register();
    static QEvent::Type MidiSeq();
    static QEvent::Type Init();
    // The type registered under a name; QEvent::None for another name.
    static QEvent::Type TypeOf(const char* name);
};

// A posted event carrying the library's value (1 next block, 2 song end).
class TMidiSeqEvent : public QEvent {
public:
    explicit TMidiSeqEvent(uint32_t value) : QEvent(TPlayerEvents::MidiSeq()), Value(value) {}
    uint32_t Value;
};

class TQtMidiNotifyTarget {
public:
    // Events go to the receiver, which must outlive every play started
    // with this target (the owner stops the library first).
    explicit TQtMidiNotifyTarget(QObject* receiver) : Receiver(receiver) {}

    TMidiNotifyTarget Target() { return {&TQtMidiNotifyTarget::Post, this}; }

private:
    // Runs on the library's thread: only posts.
    static void Post(void* owner, uint32_t message, uint32_t value);

    QObject* Receiver;
};

#include "app/QtMidiNotifyTarget.h"

#include <QCoreApplication>
#include <cstring>

namespace {

QEvent::Type MidiSeqType = QEvent::None;
QEvent::Type InitType = QEvent::None;

} // namespace

void TPlayerEvents::Register()
{
    if (MidiSeqType != QEvent::None)
        return;
    MidiSeqType = static_cast<QEvent::Type>(QEvent::registerEventType());
    InitType = static_cast<QEvent::Type>(QEvent::registerEventType());
}

QEvent::Type TPlayerEvents::MidiSeq()
{
    Register();
    return MidiSeqType;
}

QEvent::Type TPlayerEvents::Init()
{
    Register();
    return InitType;
}

void TQtMidiNotifyTarget::Post(void* owner, uint32_t message, uint32_t value)
{
    auto* self = static_cast<TQtMidiNotifyTarget*>(owner);
    if (message == QM_MIDI_SEQ_MESSAGE && self->Receiver)
        QCoreApplication::postEvent(self->Receiver, new TMidiSeqEvent(value));
}

QEvent::Type TPlayerEvents::TypeOf(const char* name)
{
    if (name && std::strcmp(name, MidiSeqName) == 0)
        return MidiSeq();
    if (name && std::strcmp(name, InitName) == 0)
        return Init();
    return QEvent::None;
}

#include "AlsaSeqOutput.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <set>

#include "QMMidiLib.h"

namespace qmmidi {

namespace {

// ALSA reports its failures on stderr unless told otherwise.
void QuietAlsaError(const char* file, int line, const char* function, int err, const char* fmt, ...)
{
    char text[256];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    SetLastError(text);
}

void InstallQuietAlsa()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(QuietAlsaError); });
}

snd_seq_t* OpenSeq(int mode)
{
    InstallQuietAlsa();
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", mode, SND_SEQ_NONBLOCK) < 0)
        return nullptr;
    snd_seq_set_client_name(seq, "QMPlayer");
    return seq;
}

} // namespace

std::vector<TAlsaPortInfo> ListAlsaPorts()
{
    std::vector<TAlsaPortInfo> ports;
    snd_seq_t* seq = OpenSeq(SND_SEQ_OPEN_OUTPUT);
    if (!seq)
        return ports;
    const int self = snd_seq_client_id(seq);
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    std::set<std::string> names;
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0 && ports.size() < 256) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == self || id == SND_SEQ_CLIENT_SYSTEM)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(port);
            const unsigned need = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
            if ((caps & need) != need || (caps & SND_SEQ_PORT_CAP_NO_EXPORT))
                continue;
            TAlsaPortInfo info;
            info.Client = id;
            info.Port = snd_seq_port_info_get_port(port);
            // Names fit 31 characters and stay unique: a repeated one gets its address.
            char name[32];
            std::snprintf(name, sizeof name, "%s", snd_seq_port_info_get_name(port));
            if (names.count(name))
                std::snprintf(name, sizeof name, "%.20s %d:%d", snd_seq_port_info_get_name(port), id, info.Port);
            names.insert(name);
            info.Name = name;
            ports.push_back(info);
        }
    }
    snd_seq_close(seq);
    return ports;
}

TAlsaSeqOutput::TAlsaSeqOutput(uint16_t deviceId) : TOutputDevice(deviceId, QM_MIDI_TECH_PORT) {}

TAlsaSeqOutput::~TAlsaSeqOutput()
{
    if (Seq)
        snd_seq_close(Seq);
}

std::unique_ptr<TAlsaSeqOutput> TAlsaSeqOutput::Open(uint16_t deviceId, const TAlsaPortInfo& target,
                                                     std::string& error)
{
    std::unique_ptr<TAlsaSeqOutput> out(new TAlsaSeqOutput(deviceId));
    out->Seq = OpenSeq(SND_SEQ_OPEN_OUTPUT);
    if (!out->Seq) {
        error = "no ALSA sequencer";
        return nullptr;
    }
    out->OwnPort = snd_seq_create_simple_port(out->Seq, "QMPlayer out", SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                              SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (out->OwnPort < 0 || snd_seq_connect_to(out->Seq, out->OwnPort, target.Client, target.Port) < 0) {
        error = "cannot connect to " + target.Name;
        return nullptr;
    }
    return out;
}

uint16_t TAlsaSeqOutput::Send(uint32_t message, int port, int64_t idealNs)
{
    const int status = message & 0xFF;
    const int ch = status & 0x0F;
    const int d1 = (message >> 8) & 0x7F;
    const int d2 = (message >> 16) & 0x7F;
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    snd_seq_ev_set_source(&ev, OwnPort);
    snd_seq_ev_set_subs(&ev);
    snd_seq_ev_set_direct(&ev);
    switch (status & 0xF0) {
    case 0x80: snd_seq_ev_set_noteoff(&ev, ch, d1, d2); break;
    case 0x90: snd_seq_ev_set_noteon(&ev, ch, d1, d2); break;
    case 0xA0: snd_seq_ev_set_keypress(&ev, ch, d1, d2); break;
    case 0xB0: snd_seq_ev_set_controller(&ev, ch, d1, d2); break;
    case 0xC0: snd_seq_ev_set_pgmchange(&ev, ch, d1); break;
    case 0xD0: snd_seq_ev_set_chanpress(&ev, ch, d1); break;
    case 0xE0: snd_seq_ev_set_pitchbend(&ev, ch, (d1 | (d2 << 7)) - 8192); break;
    default: return QM_MIDI_BAD_PARAM;
    }
    const int rc = snd_seq_event_output_direct(Seq, &ev);
    if (rc == -EAGAIN)
        return QM_MIDI_NOT_READY;
    return rc < 0 ? uint16_t(QM_MIDI_ERROR) : uint16_t(QM_MIDI_OK);
}

} // namespace qmmidi

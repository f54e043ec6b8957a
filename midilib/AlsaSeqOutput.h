// Writable ALSA sequencer ports of other programs (external and hardware
// synthesizers) as output devices. Messages leave at once: the sequencer
// thread sends each one at its deadline.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "OutputDevice.h"

typedef struct _snd_seq snd_seq_t;

namespace qmmidi {

struct TAlsaPortInfo {
    int Client = 0;
    int Port = 0;
    std::string Name;   // at most 31 characters, unique in the list
};

// The writable ports of other programs; empty without a sequencer.
std::vector<TAlsaPortInfo> ListAlsaPorts();

class TAlsaSeqOutput : public TOutputDevice {
public:
    ~TAlsaSeqOutput() override;
    static std::unique_ptr<TAlsaSeqOutput> Open(uint16_t deviceId, const TAlsaPortInfo& port, std::string& error);
    uint16_t Send(uint32_t message, int port, int64_t idealNs) override;

private:
    explicit TAlsaSeqOutput(uint16_t deviceId);

    snd_seq_t* Seq = nullptr;
    int OwnPort = -1;
};

} // namespace qmmidi

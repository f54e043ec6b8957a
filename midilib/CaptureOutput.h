// The capture output: records every message with its monotonic time, for
// tests, benchmarks and `play --capture`.
#pragma once

#include <cstdint>
#include <vector>

#include "OutputDevice.h"
#include "QMMidiLib.h"

namespace qmmidi {

class TCaptureOutput : public TOutputDevice {
public:
    static constexpr const char* Name = "QMPlayer Capture";
    // The log keeps at most this many records; later ones are dropped.
    static constexpr size_t MaxRecords = 1u << 21;

    explicit TCaptureOutput(uint16_t deviceId);
    uint16_t Send(uint32_t message, int port, int64_t idealNs) override;
    void SongStarted(int64_t monoNs) override;

    // The process-wide log shared by every capture device.
    static uint32_t Count();
    static uint32_t Read(uint32_t first, TQMMidiCaptureRecord* records, uint32_t max);
    static void Clear();
};

} // namespace qmmidi

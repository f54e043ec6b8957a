#include "CaptureOutput.h"

#include <algorithm>
#include <mutex>

namespace qmmidi {

namespace {

struct TCaptureLog {
    std::mutex Mutex;
    std::vector<TQMMidiCaptureRecord> Records;
    int64_t SongStartNs = 0;
    bool HaveStart = false;
};

TCaptureLog& Log()
{
    static TCaptureLog log;
    return log;
}

} // namespace

TCaptureOutput::TCaptureOutput(uint16_t deviceId) : TOutputDevice(deviceId, QM_MIDI_TECH_CAPTURE)
{
    TCaptureLog& log = Log();
    std::lock_guard<std::mutex> lock(log.Mutex);
    if (!log.HaveStart) {
        log.SongStartNs = MonotonicNs();
        log.HaveStart = true;
    }
}

uint16_t TCaptureOutput::Send(uint32_t message, int port, int64_t idealNs)
{
    const int64_t now = MonotonicNs();
    TCaptureLog& log = Log();
    std::lock_guard<std::mutex> lock(log.Mutex);
    if (log.Records.size() >= MaxRecords)
        return QM_MIDI_OK;
    TQMMidiCaptureRecord r{};
    r.TimeNs = now - log.SongStartNs;
    r.IdealNs = idealNs;
    r.Message = message & 0xFFFFFF;
    r.Port = static_cast<uint8_t>(port & 0x0F);
    log.Records.push_back(r);
    return QM_MIDI_OK;
}

void TCaptureOutput::SongStarted(int64_t monoNs)
{
    TCaptureLog& log = Log();
    std::lock_guard<std::mutex> lock(log.Mutex);
    log.SongStartNs = monoNs;
    log.HaveStart = true;
}

uint32_t TCaptureOutput::Count()
{
    TCaptureLog& log = Log();
    std::lock_guard<std::mutex> lock(log.Mutex);
    return static_cast<uint32_t>(log.Records.size());
}

uint32_t TCaptureOutput::Read(uint32_t first, TQMMidiCaptureRecord* records, uint32_t max)
{
    TCaptureLog& log = Log();
    std::lock_guard<std::mutex> lock(log.Mutex);
    if (!records || first >= log.Records.size())
        return 0;
    const uint32_t n = std::min<uint32_t>(max, static_cast<uint32_t>(log.Records.size() - first));
    std::copy_n(log.Records.begin() + first, n, records);
    return n;
}

void TCaptureOutput::Clear()
{
    TCaptureLog& log = Log();
    std::lock_guard<std::mutex> lock(log.Mutex);
    log.Records.clear();
    log.Records.shrink_to_fit();
}

} // namespace qmmidi

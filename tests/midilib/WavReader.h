// A small reader of the 16-bit PCM WAV files the offline output writes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace soundtest {

struct TWav {
    bool Ok = false;
    int Channels = 0;
    int SampleRate = 0;
    int Bits = 0;
    std::vector<int16_t> Samples;   // interleaved
    int64_t Frames() const { return Channels ? int64_t(Samples.size()) / Channels : 0; }
    double Seconds() const { return SampleRate ? double(Frames()) / SampleRate : 0; }
    int Peak() const
    {
        int peak = 0;
        for (int16_t s : Samples)
            peak = std::max(peak, s < 0 ? -int(s) : int(s));
        return peak;
    }
    // First frame whose sample magnitude reaches the threshold; -1 if none.
    int64_t FirstFrameAbove(int threshold, int64_t from = 0) const
    {
        for (int64_t f = from; f < Frames(); ++f)
            for (int c = 0; c < Channels; ++c) {
                const int s = Samples[size_t(f * Channels + c)];
                if (s >= threshold || s <= -threshold)
                    return f;
            }
        return -1;
    }
};

inline uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
inline uint16_t Le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

inline TWav ReadWav(const std::string& path)
{
    TWav wav;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return wav;
    std::vector<unsigned char> bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return wav;
    size_t pos = 12;
    bool haveFormat = false;
    while (pos + 8 <= bytes.size()) {
        const uint32_t size = Le32(&bytes[pos + 4]);
        const unsigned char* body = &bytes[pos + 8];
        if (pos + 8 + size > bytes.size())
            return wav;
        if (std::memcmp(&bytes[pos], "fmt ", 4) == 0 && size >= 16) {
            if (Le16(body) != 1)
                return wav;   // PCM only
            wav.Channels = Le16(body + 2);
            wav.SampleRate = int(Le32(body + 4));
            wav.Bits = Le16(body + 14);
            haveFormat = true;
        } else if (std::memcmp(&bytes[pos], "data", 4) == 0 && haveFormat && wav.Bits == 16) {
            wav.Samples.resize(size / 2);
            for (size_t i = 0; i < wav.Samples.size(); ++i)
                wav.Samples[i] = int16_t(Le16(body + 2 * i));
            wav.Ok = true;
        }
        pos += 8 + size + (size & 1);
    }
    return wav;
}

} // namespace soundtest

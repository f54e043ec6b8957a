// Detection and repair of CR LF damage.
#include "fileio/FileRepair.h"

#include "fileio/QKXFStream.h"
#include "fileio/ScoreLoader.h"

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint8_t CR = 13;
constexpr uint8_t LF = 10;
constexpr uint32_t ChunkSize = 65536;

}  // namespace

bool LooksTranslated(const char* path)
{
    TQKXFStream in(QKXModeRead | QKXModeShareRead, path);
    if (!in.IsOpen())
        return false;
    uint32_t left = in.Size();
    std::vector<uint8_t> chunk(ChunkSize);
    bool afterCR = false;
    while (left > 0) {
        uint32_t n = in.Read(chunk.data(), left < ChunkSize ? left : ChunkSize);
        if (n == 0)
            break;   // the file shrank: what is there has been scanned
        for (uint32_t i = 0; i < n; ++i) {
            uint8_t b = chunk[i];
            if (b == CR)
                afterCR = true;
            else if (b == LF) {
                if (!afterCR)
                    return false;
            } else
                afterCR = false;
        }
        left -= n;
    }
    return true;
}

bool UntranslateFile(const char* source, const char* target)
{
    TQKXFStream in(QKXModeRead | QKXModeShareRead, source);
    if (!in.IsOpen())
        return false;
    TQKXFStream out(QKXModeWrite, target);
    std::vector<uint8_t> chunk(ChunkSize);
    std::vector<uint8_t> repaired;
    repaired.reserve(ChunkSize + 1);
    bool pendingCR = false;
    for (;;) {
        uint32_t n = in.Read(chunk.data(), ChunkSize);
        if (n == 0)
            break;
        repaired.clear();
        for (uint32_t i = 0; i < n; ++i) {
            uint8_t b = chunk[i];
            if (b == CR) {
                if (pendingCR)
                    repaired.push_back(CR);
                pendingCR = true;
            } else if (b == LF) {
                if (!pendingCR)
                    return false;   // a lone LF: not made by a text-mode copy
                pendingCR = false;
                repaired.push_back(LF);
            } else {
                if (pendingCR)
                    repaired.push_back(CR);
                pendingCR = false;
                repaired.push_back(b);
            }
        }
        out.Write(repaired.data(), static_cast<uint32_t>(repaired.size()));
    }
    if (pendingCR)
        out.PutByte(CR);
    out.Flush();
    bool ok = out.IsOpen() && !out.Failed();
    out.Close();
    return ok && !out.Failed();
}

TMusicScore* LoadRepairedScore(const char* path, TScoreLoadInfo& info)
{
    const char* dir = std::getenv("TMPDIR");
    if (!dir || !*dir)
        dir = "/tmp";
    std::string name = dir;
    if (name.back() != '/')
        name += '/';
    name += "qmsXXXXXX";
    std::vector<char> temp(name.begin(), name.end());
    temp.push_back(0);
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return nullptr;
    ::close(fd);
    TMusicScore* score = nullptr;
    if (UntranslateFile(path, temp.data()))
        score = LoadScore(temp.data(), info);
    ::unlink(temp.data());
    return score;
}

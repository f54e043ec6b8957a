// Score file loader.
#include "fileio/ScoreLoader.h"

#include <cstring>

// The reader of the score data follows; until then nothing loads.
TMusicScore* LoadScoreFromStream(TQKXStream&, TScoreLoadInfo& info, TProgressSink*)
{
    std::memset(&info, 0, sizeof info);
    info.Status = NotAScore;
    return nullptr;
}

TMusicScore* LoadScore(const char*, TScoreLoadInfo& info, TProgressSink*)
{
    std::memset(&info, 0, sizeof info);
    info.Status = NotAScore;
    return nullptr;
}

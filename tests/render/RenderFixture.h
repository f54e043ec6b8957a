// Scores built in code for the layout and drawing tests, measured and drawn
// with the recording device context.
#pragma once

#include <memory>

#include "model/BarLineData.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/StaffAudit.h"
#include "model/TimeSignatureData.h"
#include "render/MusicFontMetrics.h"
#include "render/MusicFonts.h"
#include "render/RecordingDC.h"
#include "render/ScoreDrawInfo.h"
#include "render/StaffColorHandles.h"

namespace renderfixture {

inline TMusicNote* Note(int position, int duration = DurQuarter, int stem = StemDefault)
{
    auto* n = new TMusicNote;
    n->SetPosition(position);
    n->SetDuration(duration);
    n->SetStemDirection(stem);
    return n;
}

inline TRestNote* Rest(int duration = DurQuarter)
{
    auto* r = new TRestNote;
    r->SetDuration(duration);
    return r;
}

// Width in pixels of a music font character at an em of 5 staff spaces, as
// the recording device context measures it.
inline int CharWidth(char c, int staffSpace)
{
    const TMusicFontCharBox* box = FindMusicFontChar(static_cast<unsigned char>(c));
    return box ? FontUnitsToPixels(box->Width(), 5 * staffSpace) : 0;
}

// A score with its fonts and band on a recording device context.
class TRenderFixture {
public:
    explicit TRenderFixture(int zoom = 8) : Score(std::make_unique<TMusicScore>())
    {
        Score->Zoom = zoom;
        Fonts = std::make_unique<TMusicFonts>(zoom, Score->Fonts.get(), &Colors, &Screen);
    }

    // Appends a staff; items are appended with Add.
    TMusicStaff& AddStaff()
    {
        auto* staff = new TMusicStaff;
        Score->AddStaff(staff);
        return *staff;
    }
    template <class T>
    T* Add(TMusicStaff& staff, T* item)
    {
        staff.AppendItem(item);
        return item;
    }

    // Audits every staff and lays the band out at time 0.
    TScoreDrawInfo& Layout(int width = 100000, int time = 0)
    {
        AuditScore(Score.get(), true);
        Band = std::make_unique<TScoreDrawInfo>(Score.get(), Fonts.get(), 5);
        Band->FillStaves(Score->ShownStaves, TScoreDrawInfo::HeightLimit);
        Fonts->BeginMeasure();
        Band->Layout(time, width);
        Fonts->EndMeasure();
        return *Band;
    }

    int U() const { return Fonts->HeadWidth(); }

    TRecordingDC Screen;
    TStaffColorHandles Colors;
    std::unique_ptr<TMusicScore> Score;
    std::unique_ptr<TMusicFonts> Fonts;
    std::unique_ptr<TScoreDrawInfo> Band;
};

} // namespace renderfixture

#include "model/ChordData.h"

#include <algorithm>
#include <cstdlib>

#include "fileio/QKXStream.h"
#include "perform/MidiPlayState.h"

namespace {

// Member order: lower positions on the staff first; at one position a stem
// pointing down comes before one pointing up.
bool SortsBefore(const TMusicNote* a, const TMusicNote* b)
{
    const int pa = a->GetPosition();
    const int pb = b->GetPosition();
    if (pa != pb)
        return pa > pb;
    return a->GetStemSign() < b->GetStemSign();
}

int OppositeStem(int stem)
{
    if (stem == StemUp)
        return StemDown;
    if (stem == StemDown)
        return StemUp;
    return stem;
}

constexpr unsigned DotBits = (1u << AttrDotted) | (1u << AttrDoubleDotted);

} // namespace

TChordData::TChordData() { Members.reserve(4); }

TChordData::TChordData(TQKXStream& in, int version)
    : TMusicNote(in, version)
{
    Members.reserve(4);
    if (version <= 15)
        in.ReadShort();
    const int count = in.ReadSignedShort();
    for (int i = 0; i < count && !in.Failed(); ++i) {
        TNotatedItem* item = ReadItem(version, in);
        if (!item)
            break;
        if (item->GetItemType() != ItemNote) {
            // Only single notes can be members; anything else is a damaged record.
            delete item;
            in.SetError();
            break;
        }
        Members.push_back(static_cast<TMusicNote*>(item));
    }
    SortMembers();
    UpdateChord();
}

TChordData::~TChordData()
{
    for (auto it = Members.rbegin(); it != Members.rend(); ++it)
        delete *it;
}

TMusicNote* TChordData::GetNote(int index) const
{
    if (index < 0 || index >= GetNoteCount())
        return nullptr;
    return Members[static_cast<size_t>(index)];
}

TMusicNote* TChordData::FindNoteAt(int position) const
{
    for (TMusicNote* m : Members) {
        if (m->GetPosition() == position)
            return m;
    }
    return nullptr;
}

TMusicNote* TChordData::GetLowestNote() const { return Members.empty() ? nullptr : Members.front(); }

TMusicNote* TChordData::GetHighestNote() const { return Members.empty() ? nullptr : Members.back(); }

int TChordData::GetTopPosition() const
{
    const TMusicNote* hi = GetHighestNote();
    return hi ? hi->GetTopPosition() : 0;
}

int TChordData::GetBottomPosition() const
{
    const TMusicNote* lo = GetLowestNote();
    return lo ? lo->GetBottomPosition() : 0;
}

int TChordData::GetPosition() const
{
    const int t = GetTopPosition();
    const int b = GetBottomPosition();
    int p = b - (b - t) / 2;
    if (std::abs(t) > std::abs(b))
        --p;
    return p;
}

bool TChordData::HasSplitStems() const
{
    return !Members.empty() && Members.front()->GetStem() != Members.back()->GetStem();
}

std::size_t TChordData::InsertionIndex(const TMusicNote& note) const
{
    auto it = std::upper_bound(Members.begin(), Members.end(), &note, SortsBefore);
    return static_cast<size_t>(it - Members.begin());
}

void TChordData::InsertMember(TMusicNote* note)
{
    Members.insert(Members.begin() + static_cast<std::ptrdiff_t>(InsertionIndex(*note)), note);
}

void TChordData::SortMembers() { std::stable_sort(Members.begin(), Members.end(), SortsBefore); }

void TChordData::SetBeamState(int state)
{
    TSongNote::SetBeamState(state);
    UpdateChord();
}

void TChordData::SetTripletState(int state)
{
    TSongNote::SetTripletState(state);
    UpdateChord();
}

void TChordData::UpdateChord()
{
    if (Members.empty())
        return;

    for (TMusicNote* m : Members) {
        m->SetVisibility(GetVisibility());
        m->SetColor(GetColor());
        m->SetAttribute(AttrChordMember);
        m->SetNoteSpacing(GetNoteSpacing());
        m->SetTieDirectionSetting(GetTieDirectionSetting());
        m->SetSlurDirectionSetting(GetSlurDirectionSetting());
        m->SetMuted(IsMuted());
        m->SetNoLedgerLines(HasNoLedgerLines());
        m->ClearAttribute(AttrStaccato);
        m->ClearAttribute(AttrTenuto);
        m->ClearAttribute(AttrAccent);
        m->ClearAttribute(AttrSlurOut);
        m->ClearAttribute(AttrSlurIn);
        m->SetBeamState(GroupNone);
        m->SetTripletState(GroupNone);
    }

    TMusicNote* lo = Members.front();
    TMusicNote* hi = Members.back();
    const int sLo = lo->GetStem();
    const int sHi = hi->GetStem();
    int sign = GetStemSign();

    TMusicNote* ref;
    if (GetStem() == StemDown) {
        ref = lo;
    } else if (GetStem() == StemUp) {
        ref = hi;
    } else {
        ref = std::abs(hi->GetPosition()) < std::abs(lo->GetPosition()) ? lo : hi;
        sign = ref->GetPosition() < 0 ? -1 : 1;
    }

    TMusicNote::SetPosition(ref->GetPosition());
    TSongNote::SetDuration(ref->GetDuration());
    SetAttributes((GetAttributes() & ~DotBits) | (ref->GetAttributes() & DotBits));
    ClearAttribute(AttrTieOut);
    ClearAttribute(AttrTieIn);

    for (TMusicNote* m : Members) {
        if (sLo == sHi)
            m->SetStemFromSign(sign);
        if (m->GetStemSign() == sign) {
            m->SetBeamState(GetBeam());
            m->SetTripletState(GetTriplet());
            if (HasAttribute(AttrAccent))
                m->SetAttribute(AttrAccent);
            if (HasAttribute(AttrStaccato))
                m->SetAttribute(AttrStaccato);
            else if (HasAttribute(AttrTenuto))
                m->SetAttribute(AttrTenuto);
            if (HasAttribute(AttrSlurOut))
                m->SetAttribute(AttrSlurOut);
            if (HasAttribute(AttrSlurIn))
                m->SetAttribute(AttrSlurIn);
        }
        if (m->HasAttribute(AttrTieOut)) {
            SetAttribute(AttrTieOut);
            if (!m->HasAttribute(AttrTieIn) && !HasAttribute(AttrTieDirectionSet)) {
                const int p = m->GetPosition();
                bool down;
                if (sLo != sHi)
                    down = m->GetStemSign() == -1;
                else if (hi->GetPosition() < 0)
                    down = p >= 0 || (m == lo && lo->GetPosition() <= 0);
                else
                    down = p >= 0 && m != hi;
                m->SetTieDirection(down ? 1 : 0);
            }
        }
        if (m->HasAttribute(AttrTieIn))
            SetAttribute(AttrTieIn);
    }

    UpdateNoteheadLayout();
}

void TChordData::UpdateNoteheadLayout()
{
    NoteheadColumns = 1;
    SetNoteheadShifted(false);
    const size_t n = Members.size();

    if (HasSplitStems() && n == 2 && Members[0]->GetPosition() == Members[1]->GetPosition()
        && Members[0]->GetDuration() != DurWhole
        && (!HasMixedDurations() || (Members[0]->GetDuration() > 1 && Members[1]->GetDuration() > 1))
        && !HasAttribute(AttrGrace)) {
        // Two voices in unison share one head.
        Members[0]->SetNoteheadShifted(false);
        Members[1]->SetNoteheadShifted(false);
        return;
    }

    bool adjacent = false;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (std::abs(Members[i]->GetPosition() - Members[i + 1]->GetPosition()) <= 1)
            adjacent = true;
    }
    if (adjacent)
        NoteheadColumns = 2;

    for (size_t i = 0; i < n;) {
        TMusicNote* m = Members[i];
        if (m->GetStemSign() == 1) {
            m->SetNoteheadShifted(false);
            if (i + 1 < n && Members[i + 1]->GetStemSign() == 1
                && Members[i + 1]->GetPosition() == m->GetPosition() - 1) {
                Members[i + 1]->SetNoteheadShifted(true);
                i += 2;
                continue;
            }
        }
        ++i;
    }

    for (size_t k = n; k > 0;) {
        const size_t i = k - 1;
        TMusicNote* m = Members[i];
        if (m->GetStemSign() == -1) {
            m->SetNoteheadShifted(adjacent);
            if (i >= 1 && Members[i - 1]->GetStemSign() == -1
                && Members[i - 1]->GetPosition() == m->GetPosition() + 1) {
                Members[i - 1]->SetNoteheadShifted(false);
                k -= 2;
                continue;
            }
        }
        --k;
    }

    SetNoteheadShifted(adjacent);
}

int TChordData::GetAccidentalColumns(bool showHidden) const
{
    int c = 0;
    int d = 0;
    int b = 1000;   // far below any staff position
    for (const TMusicNote* m : Members) {
        const int e = m->GetPosition();
        int f = m->GetAccidentalColumns(showHidden) - m->GetAccidentalSpacing();
        if (f <= 0)
            continue;
        if (e != b) {
            if (e > b - 6)
                f += d;
            else
                b = e;
        } else {
            f = std::max(f, d);
        }
        c = std::max(c, f);
        d = f;
    }
    return c + GetAccidentalSpacing();
}

void TChordData::ResolveAccidental(TMidiPlayState& state, bool isExplicit)
{
    if (isExplicit) {
        for (TMusicNote* m : Members)
            m->ResolveAccidental(state, true);
    } else {
        // Letters on which members differ keep their explicit accidentals.
        int first[NoteLetterCount];
        std::fill(std::begin(first), std::end(first), -1);
        unsigned marked = 0;
        for (const TMusicNote* m : Members) {
            const int letter = m->GetLetter(state);
            if (first[letter] < 0)
                first[letter] = m->GetAccidental();
            else if (first[letter] != m->GetAccidental())
                marked |= 1u << letter;
        }
        for (TMusicNote* m : Members) {
            if (!(marked & (1u << m->GetLetter(state))))
                m->ResolveAccidental(state, false);
        }
    }
    UpdateChord();
}

bool TChordData::Transpose(const TMidiPlayState& state, int semitones, int steps, bool testOnly)
{
    if (testOnly) {
        for (TMusicNote* m : Members) {
            if (!m->Transpose(state, semitones, steps, true))
                return false;
        }
        return true;
    }
    bool allExact = true;
    for (TMusicNote* m : Members) {
        if (!m->Transpose(state, semitones, steps, false))
            allExact = false;
    }
    if (!allExact)
        Respell(state);
    UpdateChord();
    return allExact;
}

void TChordData::Respell(const TMidiPlayState& state)
{
    if (Members.empty())
        return;
    const TMusicNote* lo = Members.front();
    const TMusicNote* hi = Members.back();
    const bool unison = lo->GetPosition() == hi->GetPosition() && lo->GetStemSign() != hi->GetStemSign();

    for (TMusicNote* m : Members)
        m->Respell(state);
    SortMembers();

    if (!unison) {
        for (size_t i = 0; i < Members.size();) {
            TMusicNote* m = Members[i];
            TMusicNote* f = FindNoteAt(m->GetPosition());
            if (f == m || m->ShiftSpelling(state, 1)) {
                ++i;
                continue;
            }
            bool resolved = false;
            if (f->GetAccidental() != m->GetAccidental() && f->ShiftSpelling(state, -1)) {
                if (FindNoteAt(f->GetPosition()) == f)
                    resolved = true;
                else
                    f->ShiftSpelling(state, 1);
            }
            if (!resolved) {
                if (Members.size() == 2) {
                    f->SetStemFromSign(-1);
                    m->SetStemFromSign(1);
                } else {
                    Members.erase(Members.begin() + static_cast<std::ptrdiff_t>(i));
                    delete m;
                    continue;
                }
            }
            ++i;
        }
        SortMembers();
    }
    UpdateChord();
}

bool TChordData::AddChordNote(TMusicNote* note)
{
    // Only single notes can be members.
    if (!note || note->GetItemType() != ItemNote)
        return false;
    const int a = note->GetPosition();
    int sN = note->GetStem();
    int sC = GetStem();

    if (Members.size() > 1 && FindNoteAt(a))
        return false;

    // The chord takes the durations and groups of a note that sets its pace.
    auto takeNote = [this, note](int stem) {
        TSongNote::SetBeamState(note->GetBeam());
        TSongNote::SetTripletState(note->GetTriplet());
        TSongNote::SetDuration(note->GetDuration());
        SetAttributes(note->GetAttributes());
        ClearAttribute(AttrChordMember);
        SetStemDirection(stem);
        if (note->HasAttribute(AttrSlurOut))
            SetAttribute(AttrSlurOut);
        SetSlurDirection(note->GetSlurDirection());
    };

    if (Members.empty()) {
        CopyAttributes(*note);
        ClearAttribute(AttrChordMember);
        note->SetAttribute(AttrChordMember);
        InsertMember(note);
        takeNote(sN);
        UpdateChord();
        return true;
    }

    TMusicNote* lo = Members.front();
    TMusicNote* hi = Members.back();
    const int dLo = lo->GetPlayDuration();
    const int dHi = hi->GetPlayDuration();
    int dN = note->GetPlayDuration();

    if (GetTriplet() != 0 && sN == sC && GetPlayDuration() == dN * 2 / 3)
        dN = GetPlayDuration();

    if ((dN != dLo && dN != dHi) || a == lo->GetPosition()) {
        // A new stem group is needed.
        if (HasSplitStems())
            return false;
        if (sN == StemDefault)
            sN = a > lo->GetPosition() ? StemDown : StemUp;
        if (sN == sC || (sN == StemUp && a > hi->GetPosition()) || (sN == StemDown && a < lo->GetPosition()))
            return false;
        if (sC == StemDefault) {
            SetStemDirection(sN == StemDown ? StemUp : StemDown);
            UpdateChord();
        }
        sC = dN < dLo ? sN : OppositeStem(sN);
    }

    if (HasSplitStems()) {
        const size_t n = Members.size();
        size_t i = 1;
        while (i < n && Members[i]->GetStem() == StemDown)
            ++i;
        if (i >= n)
            return false;
        const int o = Members[i - 1]->GetPosition();
        const int t = Members[i]->GetPosition();
        if (sN == StemDefault)
            sN = dLo == dHi ? (a > o ? StemDown : StemUp) : (dN == dLo ? StemDown : StemUp);
        const bool accept = lo->GetStem() != sN ? (hi->GetStem() != sN || (a <= o && dHi == dN))
                                                : (a >= t && dLo == dN);
        if (!accept)
            return false;
        note->SetAttribute(AttrChordMember);
        note->SetStemDirection(sN);
        InsertMember(note);
        if (note->HasAttribute(AttrSlurOut))
            SetAttribute(AttrSlurOut);
        UpdateChord();
        return true;
    }

    if (sC == StemDefault) {
        SetStemDirection(sN);
        UpdateChord();
        sC = sN;
    } else if (sN != sC) {
        if ((sN == StemUp && a > hi->GetPosition()) || (sN == StemDown && a < lo->GetPosition()))
            return false;
    }
    if (sN == StemDefault)
        sN = lo->GetStem();

    if (note->HasAttribute(AttrSlurOut))
        SetAttribute(AttrSlurOut);
    note->SetAttribute(AttrChordMember);
    note->SetStemDirection(sN);
    note->SetTieDirectionSetting(GetTieDirectionSetting());
    if (Members.size() == 1 && dN < dLo)
        takeNote(sN);
    InsertMember(note);
    SetStemDirection(sC);
    UpdateChord();
    return true;
}

bool TChordData::RemoveChordNote(TMusicNote* note)
{
    auto it = std::find(Members.begin(), Members.end(), note);
    if (it == Members.end())
        return false;
    const bool split = HasSplitStems();
    Members.erase(it);
    note->ClearAttribute(AttrChordMember);
    note->SetNoteheadShifted(false);
    if (GetStem() == StemDefault)
        note->SetStemDirection(StemDefault);
    if (!Members.empty() && split && !HasSplitStems())
        SetStemFromSign(Members.front()->GetStemSign());
    return true;
}

int TChordData::CountNotesBetween(int a, int b) const
{
    const int lo = std::min(a, b);
    const int hi = std::max(a, b);
    int count = 0;
    for (const TMusicNote* m : Members) {
        const int p = m->GetPosition();
        if (p >= lo && p <= hi)
            ++count;
    }
    return count;
}

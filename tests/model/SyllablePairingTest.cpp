// Which syllable number each note of a staff receives.
#include <gtest/gtest.h>

#include <vector>

#include "model/RelNtnIdx.h"
#include "model/StaffAudit.h"
#include "model/SyllablePairing.h"

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

TEST(SyllablePairing, TiedAndSlurredInNotesTakeNone)
{
    TStaffBuilder b;
    b.note(0, DurQuarter, Bit(AttrTieOut));              // 1: syllable 1
    b.note(0);                                           // 2: tied in
    b.note(2, DurQuarter, Bit(AttrSlurOut));             // 3: syllable 2
    b.note(3);                                           // 4: slurred in
    b.rest();                                            // 5
    b.note(1, DurEighth, Bit(AttrGrace));                // 6
    b.bar();                                             // 7
    b.note(4, DurQuarter, Bit(AttrSlurOut))->SetLyric(LyricNever);   // 8
    b.note(4)->SetLyric(LyricAlways);                    // 9: slurred in, but always: 3
    b.chord({0, 2});                                     // 10: syllable 4
    auto* rc = b.add(new TRestChord);                    // 11: its chord part decides: 5
    rc->SetChordPart(MakeNote(5));
    b.add(new TRestChord);                               // 12: no chord part
    b.rest()->SetLyric(LyricAlways);                     // 13: 6
    AuditStaff(b.get());

    const std::vector<int> expected = {0, 1, 0, 2, 0, 0, 0, 0, 0, 3, 4, 5, 0, 6, 0};
    ASSERT_EQ(int(expected.size()), b.staff().ItemCount());
    TRelNtnIdx idx(b.get());
    for (int i = 0; i < b.staff().ItemCount(); ++i) {
        EXPECT_EQ(SyllableNumber(b.staff(), i), expected[i]) << i;
        idx.GoTo(i);
        EXPECT_EQ(SyllableNumberAt(idx), expected[i]) << i;
    }
    EXPECT_EQ(SyllableNumber(b.staff(), 99), 0);
    EXPECT_EQ(SyllableNumber(b.staff(), -1), 0);
}

TEST(SyllablePairing, TieFoundByTheAuditMovesLaterSyllables)
{
    TStaffBuilder b;
    TMusicNote* first = b.note(0);
    b.note(0);
    b.note(1);
    AuditStaff(b.get());
    EXPECT_EQ(SyllableNumber(b.staff(), 3), 3);
    first->SetAttribute(AttrTieOut);
    AuditStaff(b.get());
    EXPECT_EQ(SyllableNumber(b.staff(), 2), 0);
    EXPECT_EQ(SyllableNumber(b.staff(), 3), 2);
}

} // namespace

// The audit's work grows linearly with the items of a staff, however the
// staff is built: counted in items looked at, not timed.
#include <gtest/gtest.h>

#include <memory>

#include "model/AuditNtnIdx.h"
#include "model/MusicScore.h"
#include "model/StaffAudit.h"
#include "support/LargeSong.h"

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

long long AuditCost(TMusicStaff* staff)
{
    const TAuditWork before = AuditWork();
    AuditStaff(staff);
    const TAuditWork& after = AuditWork();
    return (after.IndexSteps - before.IndexSteps) + (after.ScanSteps - before.ScanSteps);
}

TEST(AuditLinear, PathologicalStaffOfTwelveThousandItems)
{
    TStaffBuilder b;
    // Many bar lines in a row, each asking whether its bar is empty.
    for (int i = 0; i < 2500; ++i)
        b.bar();
    b.note(0);
    // A beam that never ends: its first note looks ahead through all of it.
    b.beamed(0, GroupFirst);
    for (int i = 0; i < 2500; ++i)
        b.beamed(0, GroupMiddle);
    b.bar();
    // Grace notes inside one long normal beam.
    b.beamed(0, GroupFirst);
    for (int i = 0; i < 1000; ++i) {
        b.beamed(0, GroupMiddle, DurEighth, Bit(AttrGrace));
        b.beamed(0, GroupMiddle);
    }
    b.beamed(0, GroupEnd);
    // Openings that each fail at once.
    for (int i = 0; i < 1000; ++i)
        b.triplet(0, GroupFirst);
    // A long sweep and a long ramp.
    b.tempo(60);
    b.tempoVariance(VarianceAccelerando);
    b.dynamic(1);
    b.dynamicVariance(VarianceCrescendo);
    for (int i = 0; i < 1000; ++i)
        b.rest(DurSixteenth);
    b.tempo(180);
    b.dynamic(7);
    // Alternating sweeps.
    while (b.staff().ItemCount() < TMusicStaff::StaffItemLimit - 1) {
        b.tempoVariance(VarianceRitardando);
        b.tempo(100);
    }
    const int items = b.staff().ItemCount();
    ASSERT_GE(items, 11990);
    const long long cost = AuditCost(b.get());
    EXPECT_LE(cost, 6LL * items) << "items " << items;
    EXPECT_GE(cost, items - 1);
}

TEST(AuditLinear, GeneratedLargeSong)
{
    std::unique_ptr<TMusicScore> score(MakeLargeSong(2, LargeSongItemsPerStaff));
    ASSERT_TRUE(score);
    long long items = 0;
    for (int i = 0; i < score->StaffCount(); ++i)
        items += score->StaffAt(i)->ItemCount();
    const TAuditWork before = AuditWork();
    AuditScore(score.get(), true);
    const long long cost = (AuditWork().IndexSteps - before.IndexSteps) +
                           (AuditWork().ScanSteps - before.ScanSteps);
    EXPECT_LE(cost, 6 * items);
    for (int i = 0; i < score->StaffCount(); ++i)
        EXPECT_EQ(score->StaffAt(i)->NeedsAudit, 0);
}

TEST(AuditLinear, RangeAuditCostsOnlyItsBarsAndTheReplay)
{
    TStaffBuilder b;
    for (int bar = 0; bar < 2000; ++bar) {
        b.note(0, DurEighth);
        b.note(1, DurEighth);
        b.note(2);
        b.note(3, DurHalf);
        b.bar();
    }
    const int middle = b.staff().LastIndex() / 2;
    const TAuditWork before = AuditWork();
    AuditStaff(b.get(), middle, middle);
    const long long steps = AuditWork().IndexSteps - before.IndexSteps;
    const long long scans = AuditWork().ScanSteps - before.ScanSteps;
    // The replay up to the bar, then the bar itself: no second replay.
    EXPECT_LE(steps, middle + 10);
    EXPECT_LE(scans, 20);
}

} // namespace

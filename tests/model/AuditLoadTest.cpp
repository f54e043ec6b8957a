// A loaded score comes audited: derived fields are never taken from the file.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "fileio/QKXRamStreams.h"
#include "fileio/ScoreLoader.h"
#include "model/MusicScore.h"
#include "support/SongWriter.h"

#include "AuditFixture.h"

using namespace auditfixture;

namespace {

TEST(AuditLoad, LoadedStavesAreAudited)
{
    TMusicScore source;
    auto* staff = new TMusicStaff;
    staff->AppendItem(new TTimeSignatureData(3, 2));
    staff->AppendItem(MakeNote(2, DurQuarter, Bit(AttrTieOut), StemUp));
    staff->AppendItem(MakeNote(2, DurQuarter, 0, StemUp));
    staff->AppendItem(MakeNote(4, DurQuarter, Bit(AttrTieIn)));   // a stale tie
    staff->AppendItem(new TBarLineData);
    auto* rest = new TRestNote;
    rest->SetDuration(DurWhole);
    staff->AppendItem(rest);
    source.AddStaff(staff);

    std::vector<uint8_t> bytes = SongFileBytes(source, 16, false);
    TQKXFlatRamStream in(bytes.data(), uint32_t(bytes.size()), uint32_t(bytes.size()));
    TScoreLoadInfo info;
    std::unique_ptr<TMusicScore> score(LoadScoreFromStream(in, info));
    ASSERT_TRUE(score);
    ASSERT_EQ(info.Status, Current);
    TMusicStaff* loaded = score->StaffAt(0);
    ASSERT_EQ(loaded->ItemCount(), 8);
    EXPECT_EQ(loaded->NeedsAudit, 0);
    auto* tied = static_cast<TMusicNote*>(loaded->ItemAt(3));
    auto* stale = static_cast<TMusicNote*>(loaded->ItemAt(4));
    EXPECT_TRUE(tied->HasAttribute(AttrTieIn));
    EXPECT_EQ(tied->GetTieDirection(), 1);
    EXPECT_FALSE(stale->HasAttribute(AttrTieIn));
    EXPECT_EQ(loaded->ItemAt(6)->GetPlayDuration(), 576);   // a bar rest in 3/4
}

} // namespace

#include "model/PatchData.h"

#include "fileio/QKXStream.h"

TPatchData::TPatchData()
{
    SetPosition(-8);
}

TPatchData::TPatchData(const TPatchInfo& patch) : Patch(patch)
{
    SetPosition(-8);
}

TPatchData::TPatchData(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    Patch.UseBank = in.ReadShort();
    Patch.Bank = in.ReadShort();
    Patch.Patch = in.ReadShort();
}

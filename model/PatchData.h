// Instrument change: optional bank select and program.
#pragma once

#include "model/GeneralExpression.h"
#include "model/PatchInfo.h"

class TPatchData : public TNtnGeneralExpression {
public:
    // No patch and no bank select, at position -8.
    TPatchData();
    explicit TPatchData(const TPatchInfo& patch);
    TPatchData(TQKXStream& in, int version);

    int GetItemType() const override { return ItemPatch; }
    int GetLabelWidth(TStaffDrawInfo& info) const override;
    void DrawLabel(TStaffDrawInfo& info, int x) const override;
    int DefaultVisibility() const override { return VisNever; }
    void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events) override;

    const TPatchInfo& GetPatchInfo() const { return Patch; }
    void SetPatchInfo(const TPatchInfo& patch) { Patch = patch; }
    int GetUseBank() const { return Patch.UseBank; }
    int GetBank() const { return Patch.Bank; }
    int GetPatch() const { return Patch.Patch; }

private:
    TPatchInfo Patch;
};

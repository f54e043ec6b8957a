// The staff's part in a performance: opening it, its channel and the notation
// context in force at an item.
#pragma once

class TMusicStaff;
class TMidiPlayState;
class TMidiFileBuf;

// Reset of the play state, then the staff's channel and device.
void ApplyStaffChannel(const TMusicStaff& staff, TMidiPlayState& state);

// Resets the play state to the staff's channel, device and transposition and
// sends, at time 0, the staff's instrument (unless it is muted), volume and pan.
void StartStaffPerformance(const TMusicStaff& staff, TMidiFileBuf& events, TMidiPlayState& state);

// Indexes of the last clef, time signature and key met when the staff is
// played from its start up to `index` (-1 when none was met).
struct TStaffContext {
    int Clef = -1;
    int TimeSignature = -1;
    int Key = -1;
};
TStaffContext FindStaffContext(const TMusicStaff& staff, int index);

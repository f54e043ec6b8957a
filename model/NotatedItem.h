// The root of everything placed on a staff, with the item interface in slot order.
#pragma once

#include <cstdint>

class TQKXStream;
class TMidiPlayState;
class TMusicStaff;
class TMidiFileBuf;
class TStaffDrawInfo;
class TLayoutRecord;
class TMusicNote;
class TRestNote;

// Item type codes; the same code tags each item record in a song file.
enum TItemType : int {
    ItemClef = 0,
    ItemKey = 1,
    ItemBarLine = 2,
    ItemEnding = 3,
    ItemPatch = 4,
    ItemTimeSig = 5,
    ItemTempo = 6,
    ItemDynamic = 7,
    ItemNote = 8,
    ItemRest = 9,
    ItemChord = 10,
    ItemPedal = 11,
    ItemFlow = 12,
    ItemControl = 13,
    ItemTempoVariance = 14,
    ItemDynamicVariance = 15,
    ItemPerformanceStyle = 16,
    ItemText = 17,
    ItemRestChord = 18,
    ItemTypeCount = 19
};

// Visibility codes of the item header.
enum TItemVisibility : int { VisDefault = 0, VisAlways = 1, VisOnTopStaff = 2, VisNever = 3 };

class TNotatedItem {
public:
    TNotatedItem() = default;
    TNotatedItem(const TNotatedItem&) = delete;
    TNotatedItem& operator=(const TNotatedItem&) = delete;

    // Virtual operations, in slot order.
    virtual ~TNotatedItem();                                         // 0
    virtual int GetItemType() const = 0;                             // 1
    virtual void WriteRecord() const {}                              // 2: never used
    virtual void CopyAttributes(const TNotatedItem& source);         // 3
    virtual int DefaultVisibility() const { return VisAlways; }      // 4
    virtual int GetNoteCount() const { return 0; }                   // 5
    virtual TMusicNote* GetNote(int index) const { return nullptr; } // 6
    virtual TRestNote* AsRest() { return nullptr; }                  // 7
    virtual TMusicNote* FindNoteAt(int position) const { return nullptr; }  // 8
    virtual bool IsPitched() const { return false; }                 // 9
    virtual bool IsSongNote() const { return false; }                // 10
    virtual bool HasNotes() const { return false; }                  // 11
    virtual bool IsRest() const { return false; }                    // 12
    virtual bool IsExpression() const { return false; }              // 13
    virtual int GetPosition() const { return 0; }                    // 14
    virtual int GetTopPosition() const { return GetPosition(); }     // 15
    virtual int GetBottomPosition() const { return GetPosition(); }  // 16
    virtual void SetPosition(int position) {}                        // 17
    virtual int GetTrailingSpace(TStaffDrawInfo& info, TLayoutRecord& record) const;  // 18
    virtual int GetDrawWidth(TStaffDrawInfo& info, TLayoutRecord& record) const;      // 19
    virtual void Draw(TStaffDrawInfo& info, TLayoutRecord& record, int x) const;      // 20
    virtual void AuditItem(TMidiPlayState& state, TMusicStaff& staff, int index);     // 21
    virtual void UpdatePlayState(TMidiPlayState& state);                              // 22
    virtual int GetPlayDuration() const { return 0; }                                 // 23
    virtual void PerformMidi(TMidiPlayState& state, TMidiFileBuf& events);            // 24
    virtual int NextPlayIndex(TMidiPlayState& state, TMusicStaff& staff, int index);  // 25
    virtual void ResolveAccidental(TMidiPlayState& state, bool isExplicit) {}         // 26

    // Header byte.
    int GetVisibility() const { return Visibility; }
    void SetVisibility(int v) { Visibility = static_cast<uint8_t>(v & 3); }
    int GetColor() const { return Color; }
    void SetColor(int c) { Color = static_cast<uint8_t>(c & 3); }
    // Visibility if set, else the class default: 1 shown, 2 top staff only, 3 hidden.
    int ResolvedVisibility() const { return Visibility ? Visibility : DefaultVisibility(); }

    // Reads the header byte that starts every record from format version 10 on.
    void ReadHeader(TQKXStream& in, int version);

private:
    uint8_t Visibility : 2 = 0;
    uint8_t Color : 2 = 0;
};

// Reads one type-tagged item record at the given format version; none for an
// unknown tag (nothing more is consumed) or when the stream failed in the record.
TNotatedItem* ReadItem(int version, TQKXStream& in);

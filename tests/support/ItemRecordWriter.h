// Test-only writer of item records, the mirror of ReadItem.
#pragma once

class TQKXStream;
class TNotatedItem;

// Writes the type tag and the record of any item at a format version 0..16.
void WriteItemRecord(TQKXStream& out, const TNotatedItem& item, int version);

// Writes the header byte (from version 10 on).
void WriteItemHeader(TQKXStream& out, const TNotatedItem& item, int version);

// Family writers: each writes the record (header byte first, no tag) when the
// item belongs to its family and returns true, else writes nothing and returns false.
bool WriteNoteFamilyRecord(TQKXStream& out, const TNotatedItem& item, int version);   // types 8, 9, 10, 18
bool WriteSignatureRecord(TQKXStream& out, const TNotatedItem& item, int version);    // types 0, 1, 2, 3, 5
bool WriteExpressionRecord(TQKXStream& out, const TNotatedItem& item, int version);   // types 4, 6, 7, 11..17

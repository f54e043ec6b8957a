#include "support/ItemRecordWriter.h"

#include "fileio/QKXStream.h"
#include "model/NotatedItem.h"

void WriteItemHeader(TQKXStream& out, const TNotatedItem& item, int version)
{
    if (version >= 10)
        out.PutByte((item.GetVisibility() & 3) | ((item.GetColor() & 3) << 3));
}

void WriteItemRecord(TQKXStream& out, const TNotatedItem& item, int version)
{
    out.WriteShort(item.GetItemType());
    if (!WriteNoteFamilyRecord(out, item, version) && !WriteSignatureRecord(out, item, version))
        WriteExpressionRecord(out, item, version);
}

#include "model/TextExpression.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TTextExpression::TTextExpression(const char* text, int font)
    : Font(static_cast<uint8_t>(font))
{
    StoreText(Text, text);
}

TTextExpression::TTextExpression(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    if (version >= 11) {
        Font = static_cast<uint8_t>(in.GetByte());
    } else {
        const unsigned w = in.ReadShort();
        Font = static_cast<uint8_t>(w & 15);
        SetOldLayout(w, 0x10);
    }
    ReadText(in, Text);
    if (!Text.Text()[0]) {
        // A text item without text stays as a hidden placeholder.
        SetPreserveWidth(true);
        SetVisibility(VisNever);
        Font = 0;
        SetPosition(-8);
        StoreText(Text, Placeholder);
    }
}

const char* TTextExpression::GetFontName() const { return NameListLookup(TextFontNames, Font); }

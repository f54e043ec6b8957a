// Drawing slots of the item root: items that draw nothing take no room.
#include "model/NotatedItem.h"

int TNotatedItem::GetTrailingSpace(TStaffDrawInfo&, TLayoutRecord&) const { return 0; }
int TNotatedItem::GetDrawWidth(TStaffDrawInfo&, TLayoutRecord&) const { return 0; }
void TNotatedItem::Draw(TStaffDrawInfo&, TLayoutRecord&, int) const {}

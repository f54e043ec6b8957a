// Play slots of the item root: no effect, play moves on to the next item.
#include "model/NotatedItem.h"

void TNotatedItem::UpdatePlayState(TMidiPlayState&) {}
void TNotatedItem::PerformMidi(TMidiPlayState&, TMidiFileBuf&) {}
int TNotatedItem::NextPlayIndex(TMidiPlayState&, TMusicStaff&, int index) { return index + 1; }

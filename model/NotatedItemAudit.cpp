// Audit slot of the item root: nothing to derive.
#include "model/NotatedItem.h"

void TNotatedItem::AuditItem(TMidiPlayState&, TMusicStaff&, int) {}

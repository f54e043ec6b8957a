// Drawing slots of notes whose geometry the item drawing supplies.
#include "model/MusicNote.h"

int TSongNote::GetNoteheadOffset(TStaffDrawInfo&, TLayoutRecord&) const { return 0; }
int TMusicNote::GetStemX(TStaffDrawInfo&, TLayoutRecord&) const { return 0; }

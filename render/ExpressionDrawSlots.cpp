// Label slots of the expression base: nothing is drawn yet and the label takes no room.
#include "model/GeneralExpression.h"

int TNtnGeneralExpression::GetLabelWidth(TStaffDrawInfo&) const { return 0; }
void TNtnGeneralExpression::DrawLabel(TStaffDrawInfo&, int) const {}

#include "model/GenericControl.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TGenericControl::TGenericControl(int controller, int mode, int baseCode, int step)
{
    SetController(controller);
    SetMode(mode);
    SetBase(baseCode);
    SetStep(step);
}

TGenericControl::TGenericControl(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    SetController(in.ReadShort());
    SetMode(in.ReadShort());
    SetBase(in.ReadShort());
    Step = in.ReadSignedShort();
    for (TControlPoint& point : Points) {
        point.Active = in.ReadShort();
        point.Delay = in.ReadShort();
        point.Value = in.ReadShort();
    }
}

void TGenericControl::SetController(int controller)
{
    Controller = static_cast<uint8_t>(controller >= 0 && controller < ControllerCount ? controller : 0);
}

void TGenericControl::SetMode(int mode)
{
    Mode = static_cast<uint8_t>(mode == ControlLinearSweep ? mode : ControlAbsolute);
}

void TGenericControl::SetBase(int code)
{
    BaseCode = static_cast<uint8_t>(code >= 0 && code <= 7 ? code : 0);
}

const TGenericControl::TControlPoint& TGenericControl::GetPoint(int index) const
{
    static const TControlPoint none;
    return index >= 0 && index < PointCount ? Points[index] : none;
}

void TGenericControl::SetPoint(int index, bool active, int delay, int value)
{
    if (index < 0 || index >= PointCount)
        return;
    Points[index].Active = active ? 1 : 0;
    Points[index].Delay = static_cast<uint16_t>(delay);
    Points[index].Value = static_cast<uint16_t>(value);
}

int TGenericControl::GetControllerNumber() const { return ControllerMidiNumbers[Controller]; }
const char* TGenericControl::GetControllerName() const { return NameListLookup(ControllerNames, Controller); }
const char* TGenericControl::GetModeName() const { return NameListLookup(ControlModeNames, Mode); }
const char* TGenericControl::GetDisplayText() const { return NameListLookup(ControllerShortNames, Controller); }

std::string TGenericControl::GetLabel() const
{
    return std::string("{mpc:") + GetDisplayText() + "}";
}

// The loaded score as the JSON of the dump command.
#pragma once

#include <nlohmann/json.hpp>

class TMusicScore;
class TMusicStaff;
class TNotatedItem;
struct TScoreLoadInfo;

using TJson = nlohmann::ordered_json;

// Per item, before its fields are added: lets later layers add derived values
// (the sounding pitch) without this file knowing how they are found.
using TItemJsonHook = void (*)(const TNotatedItem& item, int staffIndex, int itemIndex, TJson& out, void* context);

TJson LoadInfoJson(const TScoreLoadInfo& info);
TJson ScoreJson(const TMusicScore& score);
TJson StaffJson(const TMusicStaff& staff, int staffIndex, TItemJsonHook hook = nullptr, void* context = nullptr);
TJson ItemJson(const TNotatedItem& item, int index);

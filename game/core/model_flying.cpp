// The model's flying messages: which events raise one, with what text, and making the message.
#include "game/core/model_flying.h"

#include <cstdio>
#include <string>

#include "anim/anim_catalogue.h"
#include "base/diag.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/event_codes.h"
#include "game/core/game_main.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/map_family.h"
#include "game/objects/fx_flying_message.h"

namespace Game {
namespace {
constexpr const char* kTranslation = "data/translation.ini";

bool isAny(uint32_t hash, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (hash == NameHash(n)) return true;
  return false;
}

// The message of a finished operation: a totem destroyed, a stone taken away, nothing for a dry
// tree, a repair for anything else.
const char* operationKey(uint32_t typeHash, uint32_t subtypeHash) {
  if (typeHash == NameHash("totem")) return "#FLYING_MESSAGE_TOTEM_DESTROYED";
  if (isAny(subtypeHash, {"evilstone", "stoneL", "stoneXL", "stoneXXL"})) return "#FLYING_MESSAGE_TOTEM_REMOVED";
  if (subtypeHash == NameHash("dryTree")) return nullptr;
  return "#FLYING_MESSAGE_OBJECT_REPAIRED";
}
}  // namespace

Fx::cFlyingMessage* ShowFlyingMessage(Map::cMap* map, int32_t resource, std::string_view key, int32_t x, int32_t y,
                                      int32_t amount) {
  Map::cObjectFactory* factory = Map::objectFactory();
  if (!map || !factory) return nullptr;
  // Messages are made only at run time, so the class joins the factory the first time one is asked.
  factory->RegisterClassOnce<Fx::cFlyingMessage>("Fx::cFlyingMessage");
  Map::cObject* o = factory->Create("fx", "flyingMessage");
  auto* message = dynamic_cast<Fx::cFlyingMessage*>(o);
  if (!message) {
    if (o) o->Destroy(o->Has(Map::kFlagFreeOnRemove));
    errorLog("Cannot create a flying message (fx flyingMessage)");
    return nullptr;
  }
  message->SetAnchor({x, y});
  std::u16string text;
  AnimationState picture;
  if (amount != 0) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "+%d", amount);
    text = textUtf8ToUtf16(buf);
    // Indices outside the table (4 = none) name nothing rather than reading past it.
    const char* name = resource >= 0 && resource < 4 ? mapResourceName(resource) : "";
    if (name && *name) picture = Core::animManager().GetAnimation(std::string(name) + "_Flying");
  } else {
    const std::string k(key);
    text = textUtf8ToUtf16(iniString(kTranslation, nullptr, k.c_str(), k));
  }
  message->SetMessage(text, picture);
  map->Add(message);
  return message;
}

void modelFlyingMessageFor(Map::cMap* map, const GameEvent& e) {
  if (!map) return;
  switch (e.code) {
    case Code(Event::OperationFinished):
      if (const char* key = operationKey(uint32_t(e.typeHash), uint32_t(e.subtypeHash)))
        ShowFlyingMessage(map, 4, key, e.x, e.y, 0);
      break;
    case Code(Event::BuildingLevelReached):
      if (e.value == 0) ShowFlyingMessage(map, 4, "#FLYING_MESSAGE_OBJECT_UPGRADED", e.x, e.y, 0);
      break;
    case Code(Event::BuildingWorkFinished):
      if (e.value == 0) ShowFlyingMessage(map, 4, "#FLYING_MESSAGE_OBJECT_BUILD", e.x, e.y, 0);
      break;
    case Code(Event::GeneratorProduced):
      ShowFlyingMessage(map, e.index, "#FLYING_MESSAGE_PLUS", e.x, e.y, e.amount);
      break;
    case Code(Event::PersonDelivered):
      if (e.index != 4 && e.amount >= 1) ShowFlyingMessage(map, e.index, {}, e.x, e.y, e.amount);
      break;
    case Code(Event::CaveHeldKey): ShowFlyingMessage(map, 4, "#FLYING_MESSAGE_KEY_FOUND", e.x, e.y, 0); break;
    case Code(Event::CaveWasEmpty): ShowFlyingMessage(map, 4, "#FLYING_MESSAGE_CAVE_EMPTY", e.x, e.y, 0); break;
    default: break;
  }
}
}  // namespace Game

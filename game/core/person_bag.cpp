// What a person shows beside itself: the running trail while it is faster than the base speed,
// and the bag of the item it carries home, announced when it arrives.
#include <memory>
#include <string_view>

#include "anim/fx_simple_pyro.h"
#include "files/name_hash.h"
#include "game/core/person.h"

namespace Map {
namespace {
struct CarriedItem {
  uint32_t hash;
  const char* bag;  // the effect shown while it is carried
  Game::Event delivered;
};
const CarriedItem kItems[] = {{NameHash("quill"), "QuillInBag", Game::Event::QuillDelivered},
                              {NameHash("Key"), "QuillInBag", Game::Event::KeyDelivered},
                              {NameHash("berry"), "BerryInBag", Game::Event::BerryDelivered},
                              {NameHash("heart"), "HeartInBag", Game::Event::HeartDelivered}};
const CarriedItem* findItem(uint32_t hash) {
  for (const CarriedItem& i : kItems)
    if (hash != 0 && i.hash == hash) return &i;
  return nullptr;
}
}  // namespace

FxManager::cSimplePyro& cPerson::Effect(int which, const char* effectName) {
  std::unique_ptr<FxManager::cSimplePyro>& e = which == kTrailEffect ? workEffect0 : workEffect1;
  if (!e) {
    e = std::make_unique<FxManager::cSimplePyro>();
    e->Load(effectName);
  }
  return *e;
}

void cPerson::SetTrail(bool on) {
  if (on == m_trail) return;
  m_trail = on;
  if (on) {
    Effect(kTrailEffect, "RunningTrail");
    StartWorkEffect(kTrailEffect);
  } else if (workEffect0) {
    StopWorkEffect(kTrailEffect);
  }
}

void cPerson::SetCarriedItem(uint32_t itemHash) {
  carriedItem = itemHash;
  const CarriedItem* item = findItem(itemHash);
  if (!item) return;
  // A bag of another item is replaced, not shown twice.
  if (workEffect1 && std::string_view(workEffect1->GetName()) != item->bag) workEffect1.reset();
  Effect(kBagEffect, item->bag);
  StartWorkEffect(kBagEffect);
}

void cPerson::DeliverItem() {
  if (const CarriedItem* item = findItem(carriedItem)) {
    GameEvent e;
    MakeEvent(e, item->delivered);
    e.objectId = id;
    e.x = int32_t(x);
    e.y = int32_t(y);
    Post(e);
    if (workEffect1) StopWorkEffect(kBagEffect);
  }
  carriedItem = 0;
}
}  // namespace Map

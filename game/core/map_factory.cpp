// The object factory, the level arena and the loading of objects with their children.
#include "game/core/map_factory.h"

#include <new>

#include "base/diag.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/map_stream.h"
#include "game/core/person.h"
#include "game/interface/icons_register.h"
#include "game/objects/building.h"
#include "game/objects/fx_register.h"
#include "game/objects/obstacles_register.h"
#include "game/objects/production_register.h"
#include "game/objects/quest_register.h"
#include "game/objects/scenery_register.h"

namespace Map {
namespace {
std::unique_ptr<cObjectFactory> g_factory;

std::string clip(std::string_view s) { return std::string(s.substr(0, kObjectNameMax)); }
}  // namespace

void* cObjectArena::Allocate(size_t bytes, size_t align) {
  if (align < 4) align = 4;
  bytes = (bytes + align - 1) / align * align;
  size_t start = (m_offset + align - 1) / align * align;
  if (m_chunks.empty() || start + bytes > m_chunkSize) {
    // An object larger than a chunk gets a chunk of its own size.
    m_chunkSize = bytes > kChunkBytes ? bytes : kChunkBytes;
    m_chunks.push_back(std::make_unique<unsigned char[]>(m_chunkSize));
    start = 0;
  }
  m_offset = start + bytes;
  m_used += bytes;
  return m_chunks.back().get() + start;
}

cObjectFactory::cObjectFactory() = default;
cObjectFactory::~cObjectFactory() = default;

void cObjectFactory::RegisterClass(std::string_view className, size_t size, size_t align, Construct construct) {
  m_classes[std::string(className)] = ClassInfo{size, align, construct};
}

bool cObjectFactory::IsRegistered(std::string_view className) const {
  return m_classes.count(std::string(className)) != 0;
}

void cObjectFactory::BeginLevel(cObjectArena* arena) {
  m_arena = arena;
  m_nextId = 1;
}

cObject* cObjectFactory::Build(const MapFamily& family, bool heapOnly) {
  size_t size = sizeof(cObject), align = alignof(cObject);
  Construct construct = [](void* w) -> cObject* { return new (w) cObject(); };
  auto it = m_classes.find(family.className);
  if (it != m_classes.end()) {
    size = it->second.size;
    align = it->second.align;
    construct = it->second.construct;
  } else if (&family != &mapPlainFamily() && m_reported.insert(family.className).second) {
    errorLog("Object factory: %s is not built yet; its objects are plain map objects\n", family.className);
  }
  const bool arena = family.arena && m_arena && !heapOnly && align <= alignof(std::max_align_t);
  void* mem = arena ? m_arena->Allocate(size, align) : ::operator new(size);
  cObject* o = construct(mem);
  o->factory = this;
  if (arena) o->Set(kFlagFreeOnRemove, false);
  return o;
}

cObject* cObjectFactory::Allocate(uint32_t typeHash, uint32_t subtypeHash, bool heapOnly) {
  return Build(mapFamilyOf(typeHash, subtypeHash), heapOnly);
}

cObject* cObjectFactory::Create(std::string_view type, std::string_view subtype) {
  if (m_nextId >= kReservedIdFirst) {
    errorLog("Object factory: the level has used every object id; \"%.*s\" is not created\n", int(type.size()),
             type.data());
    return nullptr;
  }
  const MapFamily& family = mapFamilyOf(type, subtype);
  cObject* o = Build(family, false);
  o->id = m_nextId++;
  o->typeName = clip(type);
  o->typeHash = NameHash(o->typeName);
  o->SetSubtype(subtype);
  // Whatever offers work to the player can be clicked from the start; the family's own class may
  // take it back later (withdrawn, hidden, or out of reach until some event).
  if (family.offersWork) o->Set(kFlagClickable, true);
  if (testSetting(TestSwitch::Game_Log_On_Playback))
    gameLog("ObjectCreated. id:%d type:%s subtype:%s", int(o->id), o->typeName.c_str(), o->subtypeName.c_str());
  return o;
}

void cObjectFactory::RegisterEvents(cObject& o) const {
  Game::cEventDispatcher* d = m_dispatcher ? m_dispatcher : Game::eventDispatcher();
  static const uint32_t kBonusPlace = NameHash("bonusPlace"), kIcon = NameHash("icon");
  static const uint32_t kOperation = NameHash("operation"), kBar = NameHash("bar"),
                        kUpgradeLevel = NameHash("upgradeLevel");
  if (o.typeHash == kBonusPlace) Register(Game::Event::ResourcesPickedUp, d, &o);
  if (o.typeHash == kIcon && (o.subtypeHash == kOperation || o.subtypeHash == kBar))
    Register(Game::Event::OperationProgress, d, &o);
  if (o.typeHash == kIcon && o.subtypeHash == kUpgradeLevel) Register(Game::Event::BuildingLevelReached, d, &o);
  o.RegisterEvents(d);
}

bool cObjectFactory::LoadFromBinary(MapStream& s, IntPoint offset, std::vector<cObject*>& out) {
  const std::string type = s.ReadString();
  const std::string subtype = s.ReadString();
  if (s.Failed()) return false;
  cObject* o = Create(type, subtype);
  if (!o) return false;
  if (!o->LoadBinary(s)) {
    o->Destroy(o->Has(kFlagFreeOnRemove));
    return false;
  }
  o->SetAnchor({o->AnchorI().x + offset.x, o->AnchorI().y + offset.y});
  o->childScript = s.ReadString();
  if (s.Failed()) {
    o->Destroy(o->Has(kFlagFreeOnRemove));
    return false;
  }
  RegisterEvents(*o);
  out.push_back(o);
  AddChildren(*o, out);
  return true;
}

bool cObjectFactory::LoadFromIni(const gFileName& file, const char* section, IntPoint offset,
                                 std::vector<cObject*>& out) {
  const std::string type = iniGetString(file, section, "type", "");
  if (type.empty()) return true;
  const std::string subtype = iniGetString(file, section, "subType", "");
  // The same objects as the binary map, or none: a family whose items are unknown is refused.
  MapObjectRecord probe;
  if (mapReadIniRecord(file, section, probe) == MapIniRead::Refused) return false;
  cObject* o = Create(type, subtype);
  if (!o) return false;
  if (!o->LoadIni(file, section)) {
    o->Destroy(o->Has(kFlagFreeOnRemove));
    return false;
  }
  o->SetAnchor({o->AnchorI().x + offset.x, o->AnchorI().y + offset.y});
  RegisterEvents(*o);
  out.push_back(o);
  AddChildren(*o, out);
  return true;
}

std::unique_ptr<cObject> cObjectFactory::MakeTemplate(const Core::ChildTemplateRef& ref) {
  cObject* o = Allocate(NameHash(ref.type), NameHash(ref.subType), true);
  o->typeName = clip(ref.type);
  o->typeHash = NameHash(o->typeName);
  o->SetSubtype(ref.subType);
  if (mapFamilyOf(o->typeHash, o->subtypeHash).offersWork) o->Set(kFlagClickable, true);
  if (!o->LoadIni(ref.file.c_str(), ref.section.c_str())) {
    delete o;
    return nullptr;
  }
  return std::unique_ptr<cObject>(o);
}

void cObjectFactory::LoadChildScript(const char* file) {
  m_children.LoadChildScript(file, [this](const Core::ChildTemplateRef& ref) { return MakeTemplate(ref); });
}

void cObjectFactory::AddChildren(const cObject& parent, std::vector<cObject*>& out) {
  if (parent.childScript.empty()) return;
  LoadChildScript(parent.childScript.c_str());
  const std::string& key = parent.childsKey.empty() ? parent.subtypeName : parent.childsKey;
  const auto* templates = m_children.Find(parent.childScript, key);
  if (!templates) return;
  for (const std::unique_ptr<cObject>& t : *templates) {
    if (m_nextId >= kReservedIdFirst) return;
    cObject* c = t->Clone();
    if (!c) continue;
    RegisterEvents(*c);
    c->id = m_nextId++;
    c->parentId = parent.id;
    const float dx = parent.flipped ? -t->x : t->x;
    c->SetAnchorF(parent.x + dx, parent.y + t->y);
    out.push_back(c);
  }
}

cObjectFactory* objectFactory() { return g_factory.get(); }

void objectFactoryCreate() {
  if (g_factory) return;
  g_factory = std::make_unique<cObjectFactory>();
  // The game's classes before the child scripts: a template made while its class is unknown is a
  // plain object, and every child cloned from it loses the keys of its own class.
  personRegisterClass(*g_factory);
  productionRegisterClasses(*g_factory);
  buildingRegisterClasses(*g_factory);
  obstaclesRegisterClasses(*g_factory);
  questRegisterClasses(*g_factory);
  sceneryRegisterClasses(*g_factory);
  Icon::iconsRegisterClasses(*g_factory);
  Fx::weatherRegisterClasses(*g_factory);
  for (const char* f : {"data/buildings/icons.ini", "data/bonus/icons.ini", "data/obstacles/icons.ini",
                        "data/person/icons.ini"})
    if (fileExists(f)) g_factory->LoadChildScript(f);
}

void objectFactoryDestroy() { g_factory.reset(); }
}  // namespace Map

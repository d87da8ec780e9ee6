// The base map object: definition keys, animations, tint pulse, lifetime, drawing and debug shapes.
#include "game/core/map_object.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "anim/anim_catalogue.h"
#include "base/diag.h"
#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/map_stream.h"
#include "game/core/path_finder.h"
#include "game/core/random.h"
#include "gfx/render.h"
#include "platform/platform.h"

namespace Map {
namespace {
std::string clipText(std::string_view s, size_t max) { return std::string(s.substr(0, max)); }

void postEvent(GameEvent& e) { Post(Game::eventDispatcher(), e); }
}  // namespace

cObject::cObject() = default;
cObject::~cObject() = default;

void cObject::OnEvent(GameEvent& event) { Game::cObserver::OnEvent(event); }

bool cObject::LoadBinary(MapStream& s) {
  MapObjectRecord r;
  r.type = typeName;
  r.subtype = subtypeName;
  if (!mapReadBase(s, r) || !mapReadExtension(s, r)) return false;
  ApplyRecord(r);
  return true;
}

bool cObject::LoadIni(const gFileName& file, const char* section) {
  if (!section || !*section || file.Utf8().empty()) return false;
  MapObjectRecord r;
  // The map loader has refused families it cannot read already; here every known key is taken.
  if (mapReadIniRecord(file, section, r, false) != MapIniRead::Ok) return false;
  ApplyRecord(r);
  return true;
}

void cObject::ApplyRecord(const MapObjectRecord& r) {
  SetName(r.name);
  x = float(r.x);
  y = float(r.y);
  scale = r.scale;
  layer = r.layer;
  boundCentre = {r.boundX, r.boundY};
  boundHalfSize = {r.boundXS, r.boundYS};
  supportCount = std::clamp(r.supportCount, 1, 3);
  for (int i = 0; i < 3; ++i) supportPoints[i] = {r.support[i][0], r.support[i][1]};
  Set(kFlagObstacle, r.isObstacle != 0);
  obstacleCentre = {r.obstacleX, r.obstacleY};
  obstacleHalfSize = {r.obstacleXS, r.obstacleYS};
  Set(kFlagFogArea, r.isFogArea != 0);
  fogAreaOffset = {r.fogAreaDeltaX, r.fogAreaDeltaY};
  fogRadiusX = r.fogRadiusX;
  fogRadiusY = r.fogRadiusY ? r.fogRadiusY : r.fogRadiusX;
  parentTag = r.parentTag;
  childsKey = clipText(r.childsKey, kChildsKeyMax);
  childScript = r.childScript;
  flipped = 0;
  for (int i = 0; i < kAnimationSlots; ++i) {
    animHashes[i] = r.anims[i].hash;
    animOffsets[i] = {r.anims[i].dx, r.anims[i].dy};
    anims[i] = r.anims[i].hash ? Core::animManager().GetAnimationByHash(r.anims[i].hash) : AnimationState();
  }
  SetFlipped(r.flipped != 0);
  SetAnimation(std::clamp(r.currentAnimation, 0, kAnimationSlots - 1), false);
}

void cObject::FillRecord(MapObjectRecord& r) const {
  r.type = typeName;
  r.subtype = subtypeName;
  r.name = name;
  r.x = int32_t(std::lround(x));
  r.y = int32_t(std::lround(y));
  r.scale = scale;
  r.flipped = flipped;
  r.layer = layer;
  r.boundX = boundCentre.x;
  r.boundY = boundCentre.y;
  r.boundXS = boundHalfSize.x;
  r.boundYS = boundHalfSize.y;
  r.supportCount = supportCount;
  for (int i = 0; i < 3; ++i) {
    r.support[i][0] = supportPoints[i].x;
    r.support[i][1] = supportPoints[i].y;
  }
  r.isObstacle = Has(kFlagObstacle);
  r.obstacleX = obstacleCentre.x;
  r.obstacleY = obstacleCentre.y;
  r.obstacleXS = obstacleHalfSize.x;
  r.obstacleYS = obstacleHalfSize.y;
  r.isFogArea = Has(kFlagFogArea);
  r.fogAreaDeltaX = fogAreaOffset.x;
  r.fogAreaDeltaY = fogAreaOffset.y;
  r.fogRadiusX = fogRadiusX;
  r.fogRadiusY = fogRadiusY;
  r.parentTag = parentTag;
  r.childsKey = childsKey;
  for (int i = 0; i < kAnimationSlots; ++i) r.anims[i] = {animHashes[i], animOffsets[i].x, animOffsets[i].y};
  r.currentAnimation = currentAnimation;
  r.childScript = childScript;
  // A family's class items follow its blocks; a stand-in object has none of its own.
  r.extension.assign(mapFamilyOf(typeHash, subtypeHash).ItemCount(), MapExtValue{});
}

void cObject::CopyFrom(const cObject& o) {
  x = o.x;
  y = o.y;
  boundCentre = o.boundCentre;
  boundHalfSize = o.boundHalfSize;
  supportCount = o.supportCount;
  std::copy(std::begin(o.supportPoints), std::end(o.supportPoints), supportPoints);
  obstacleCentre = o.obstacleCentre;
  obstacleHalfSize = o.obstacleHalfSize;
  fogAreaOffset = o.fogAreaOffset;
  fogRadiusX = o.fogRadiusX;
  fogRadiusY = o.fogRadiusY;
  layer = o.layer;
  drawParams = o.drawParams;
  debugShow = o.debugShow;
  // How the memory goes back stays the clone's own: a heap template's clone may live in the arena.
  constexpr uint32_t kMemoryFlags = kFlagFreeOnRemove | kFlagDestroyOnRemove;
  flags = (o.flags & ~kMemoryFlags) | (flags & kMemoryFlags);
  for (int i = 0; i < kAnimationSlots; ++i) {
    anims[i] = o.anims[i];  // shares the frames: the catalogue counts the users
    animOffsets[i] = o.animOffsets[i];
    animHashes[i] = o.animHashes[i];
  }
  currentAnimation = o.currentAnimation;
  scale = o.scale;
  flipped = o.flipped;
  typeHash = o.typeHash;
  subtypeHash = o.subtypeHash;
  subtypeName = o.subtypeName;
  childsKey = o.childsKey;
  childScript = o.childScript;
  lifetimeMs = o.lifetimeMs;
  tintMs = o.tintMs;
  // A clone is nobody yet: no id, parent, tag or name.
  id = kNoId;
  parentId = kNoId;
  tag = 0;
  parentTag = 0;
  name.clear();
  typeName.clear();
}

cObject* cObject::Clone() const {
  if (!factory) return nullptr;
  cObject* c = factory->Allocate(typeHash, subtypeHash);
  if (!c) return nullptr;
  c->CopyFrom(*this);
  return c;
}

void cObject::SetHidden(bool hidden) { Set(kFlagHidden, hidden); }

void cObject::PostTagEvent() {
  GameEvent e;
  MakeEvent(e, int32_t(Game::Event::BuildingReachable));
  e.objectId = id;
  e.tag = int32_t(tag);
  postEvent(e);
}

void cObject::Kill() {
  OpenFogArea(0, 0);
  GameEvent e;
  MakeEvent(e, int32_t(Game::Event::ObjectKilled));
  e.objectId = id;
  postEvent(e);
  Set(kFlagRemoved, true);
}

void cObject::SetAnchor(IntPoint p) { SetAnchorF(float(p.x), float(p.y)); }
void cObject::SetAnchorF(float nx, float ny) {
  x = nx;
  y = ny;
}

void cObject::Update(int32_t ms) { UpdateAnimation(ms); }

void cObject::UpdateAnimation(int32_t ms) {
  AnimationState& a = anims[currentAnimation];
  if (a.IsValid() && !a.IsStopped() && a.Advance(ms) && !a.Has(AnimationState::kLoop)) a.Stop();
  if (Has(kFlagTintPulse)) {
    tintMs += ms;
    if (tintMs >= kTintPeriodMs) {
      tintMs = 0;
      Set(kFlagTintPulse, false);
    }
  }
}

bool cObject::UpdateTimers(int32_t ms) {
  lifetimeMs += ms;
  return Has(kFlagRemoved);
}

uint32_t cObject::CurrentColour() const {
  if (!Has(kFlagTintPulse)) return drawParams.argb;
  // One soft dip of the colour over the pulse: full at both ends, 60 % in the middle.
  const double t = double(tintMs) / kTintPeriodMs;
  const double f = 1.0 - 0.4 * std::sin(std::numbers::pi * t);
  uint32_t out = drawParams.argb & 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t c = (drawParams.argb >> shift) & 0xFF;
    out |= uint32_t(std::lround(c * f)) << shift;
  }
  return out;
}

void cObject::Draw(const DrawContext& dc) {
  const AnimationState& a = anims[currentAnimation];
  if (!a.IsValid()) return;
  uint32_t colour = CurrentColour();
  uint32_t alpha = ((colour >> 24) * dc.alpha) / 255;
  colour = (colour & 0x00FFFFFFu) | (alpha << 24);
  const IntPoint o = animOffsets[currentAnimation];
  a.DrawRotated(x + float(o.x) + dc.offsetX, y + float(o.y) + dc.offsetY, 0.0f, 0x100, 15, colour, scale, 0, -1);
}

void cObject::ResolveParent(const cMap& map) {
  if (parentTag == 0 || parentTag == tag) return;
  if (const cObject* p = map.FindByTag(parentTag)) parentId = p->id;
}

void cObject::StartTint(bool on) {
  Set(kFlagTintPulse, on);
  if (on) tintMs = 0;
}

void cObject::EditSupportPoint(IntPoint p, int key) {
  const IntPoint rel{p.x - int32_t(x), p.y - int32_t(y)};
  if (key == VK_F1_) {
    supportPoints[1] = rel;
    supportCount = std::max(supportCount, 2);
  } else if (key == VK_F2_) {
    supportPoints[2] = rel;
    supportCount = std::max(supportCount, 3);
  }
}

void cObject::SaveBinary(std::string& out) const {
  MapObjectRecord r;
  FillRecord(r);
  std::string error;
  if (!mapWriteObject(out, r, &error)) errorLog("Map object \"%s\": %s\n", name.c_str(), error.c_str());
}

void cObject::SaveIni(std::string& out) const {
  MapObjectRecord r;
  FillRecord(r);
  out += mapRecordToIni(r, [](uint32_t h, void*) { return Core::animManager().AnimationNameOf(h); }, nullptr);
}

void cObject::SaveChildScript(std::string& out) const { mapWriteString(out, "", nullptr); }

void cObject::LoadAnimationsBinary(MapStream& s) {
  for (int i = 0; i < kAnimationSlots; ++i) {
    animHashes[i] = uint32_t(s.ReadInt32());
    animOffsets[i].x = s.ReadInt32();
    animOffsets[i].y = s.ReadInt32();
    if (animHashes[i] == NameHash("null")) animHashes[i] = 0;
    anims[i] = animHashes[i] ? Core::animManager().GetAnimationByHash(animHashes[i]) : AnimationState();
  }
  int slot = s.ReadInt8();
  SetAnimation(slot >= 0 && slot < kAnimationSlots ? slot : 0, false);
}

void cObject::LoadAnimationsIni(const gFileName& file, const char* section) {
  MapObjectRecord r;
  r.type = "x";  // a plain record: only the base keys and the animation keys are of interest
  if (mapReadIniRecord(file, section, r, false) != MapIniRead::Ok) return;
  for (int i = 0; i < kAnimationSlots; ++i) {
    animHashes[i] = r.anims[i].hash;
    animOffsets[i] = {r.anims[i].dx, r.anims[i].dy};
    anims[i] = animHashes[i] ? Core::animManager().GetAnimationByHash(animHashes[i]) : AnimationState();
  }
  SetAnimation(r.currentAnimation, false);
}

void cObject::SaveAnimationsBinary(std::string& out) const {
  for (int i = 0; i < kAnimationSlots; ++i) {
    mapWriteInt32(out, int32_t(animHashes[i]));
    mapWriteInt32(out, animOffsets[i].x);
    mapWriteInt32(out, animOffsets[i].y);
  }
  out.push_back(char(int8_t(currentAnimation)));
}

void cObject::SaveAnimationsIni(std::string& out) const {
  for (int i = 0; i < kAnimationSlots; ++i) {
    if (animHashes[i]) {
      const char* known = Core::animManager().AnimationNameOf(animHashes[i]);
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08X", unsigned(animHashes[i]));
      out += "anim" + std::to_string(i) + "=" + (known ? known : hex) + "\n";
    }
    if (animOffsets[i].x) out += "animDelta" + std::to_string(i) + "x=" + std::to_string(animOffsets[i].x) + "\n";
    if (animOffsets[i].y) out += "animDelta" + std::to_string(i) + "y=" + std::to_string(animOffsets[i].y) + "\n";
  }
  out += "currentAnimation=" + std::to_string(currentAnimation) + "\n";
}

void cObject::SetAnimation(int slot, bool randomStart) {
  if (slot < 0 || slot >= kAnimationSlots) return;
  currentAnimation = slot;
  AnimationState& a = anims[slot];
  if (!a.IsValid()) return;
  int32_t start = 0;
  if (randomStart && a.FrameCount() > 1) start = a.TimeOfFrame(RandomInt(a.FrameCount()));
  a.Start(start);
}

void cObject::SetFlipped(bool on) {
  if (bool(flipped) == on) return;
  flipped = on;
  // The catalogue's own mirroring is kept: a flipped object mirrors it once more.
  for (AnimationState& a : anims) a.SetFlag(AnimationState::kFlipX, !a.Has(AnimationState::kFlipX));
}

void cObject::GetFrameInfo(int& width, int& height, CSprite*& sprite) const {
  const AnimationState& a = anims[currentAnimation];
  width = a.Width();
  height = a.Height();
  sprite = a.Sprite();
}

void cObject::DrawDebug(const DrawContext& dc) {
  if (!debugShow) return;
  const int ax = int(x + dc.offsetX), ay = int(y + dc.offsetY);
  if (debugShow & kShowBound) {
    const int cx = ax + boundCentre.x, cy = ay + boundCentre.y;
    const uint32_t c = Has(kFlagPointerOver) ? 0x80FFFFFFu : 0xFF00FF00u;
    grFrameRect(cx - boundHalfSize.x, cy - boundHalfSize.y, cx + boundHalfSize.x, cy + boundHalfSize.y, c);
  }
  if (debugShow & kShowSupport)
    for (int i = 0; i < supportCount; ++i) {
      const int sx = ax + supportPoints[i].x, sy = ay + supportPoints[i].y;
      grFillRect(sx - 4, sy - 4, sx + 4, sy + 4, 0xFFFF0000u);
    }
  if (debugShow & kShowId) {
    grFillRect(ax - 15, ay - 10, ax + 15, ay + 10, 0xFFFFFFFFu);
    grTextOut(ax - 13, ay - 8, std::to_string(id).c_str(), 0xFF000000u);
  }
  if ((debugShow & kShowFogArea) && fogRadiusX) {
    const float fx = float(ax + fogAreaOffset.x), fy = float(ay + fogAreaOffset.y);
    const float ry = float(fogRadiusY ? fogRadiusY : fogRadiusX);
    for (int i = 0; i < 200; ++i) {
      const double t = 2.0 * std::numbers::pi * i / 200.0;
      const int px = int(fx + fogRadiusX * std::cos(t)), py = int(fy + ry * std::sin(t));
      grFillRect(px, py, px + 1, py + 1, 0xFFFF0000u);
    }
  }
}

void cObject::Destroy(bool free) {
  if (free) {
    delete this;
  } else {
    this->~cObject();
  }
}

void cObject::SetName(std::string_view n) {
  name = clipText(n, kObjectNameMax);
  tag = NameHash(name);
}

void cObject::SetSubtype(std::string_view s) {
  if (s.empty()) return;
  subtypeName = clipText(s, kObjectNameMax);
  subtypeHash = NameHash(subtypeName);
}

void cObject::OpenFogArea(int32_t a, int32_t b) {
  if (!Has(kFlagFogArea)) return;
  GameEvent e;
  MakeEvent(e, int32_t(Game::Event::FogAreaOpens));
  e.objectId = id;
  e.x = int32_t(x) + fogAreaOffset.x;
  e.y = int32_t(y) + fogAreaOffset.y;
  e.value = fogRadiusX;
  e.value2 = fogRadiusY;
  e.extra[0] = a;
  e.extra[1] = b;
  e.extra[2] = 1;
  Set(kFlagFogArea, false);
  postEvent(e);
}

cObject* cObject::GetParent(const cMap& map) const { return parentId == kNoId ? nullptr : map.FindById(parentId); }

cObject* cObject::FindChild(const cMap& map, std::string_view subtype) const {
  const uint32_t h = NameHash(subtype);
  for (size_t i = 0; i < map.Count(); ++i) {
    cObject* o = map.At(i);
    if (o->parentId == id && o->subtypeHash == h) return o;
  }
  return nullptr;
}

void cObject::HideChildren(cMap& map) {
  static const uint32_t kUpgradeLevel = NameHash("upgradeLevel"), kIcon = NameHash("icon");
  for (size_t i = 0; i < map.Count(); ++i) {
    cObject* o = map.At(i);
    if (o->parentId != id) continue;
    if (o->typeHash == kIcon && o->subtypeHash == kUpgradeLevel) continue;
    o->SetHidden(true);
  }
}

void cObject::SetObstacle(cMap& map, bool on) {
  const bool was = Has(kFlagObstacle);
  Set(kFlagObstacle, on);
  if (was == on) return;
  if (cPathFinder* pf = map.PathFinder()) pf->MarkObstacleRect(*this, on);
}

IntPoint cObject::Support(int i) const {
  i = std::clamp(i, 0, std::max(0, supportCount - 1));
  return {int32_t(x) + supportPoints[i].x, int32_t(y) + supportPoints[i].y};
}
}  // namespace Map

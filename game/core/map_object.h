// Map::cObject: the base of everything placed on a level's map (buildings, obstacles, persons,
// creatures, decorations, icons, effects) with its definition keys, flags, 21 animation slots, tint
// pulse and lifetime. Objects refer to one another only by id; the map (cMap) owns them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "anim/animation.h"
#include "files/file.h"
#include "game/core/events.h"
#include "game/core/map_record.h"

class MapStream;

namespace Map {
class cMap;
class cObjectFactory;

// Object ids are signed 32-bit, unique within a level; the factory hands them out from 1 upward.
constexpr int32_t kNoId = -1;
// Ids objects that live for the whole run (the fog) carry on every level's map. The factory never
// reaches them, however many objects a level makes.
constexpr int32_t kReservedIdFirst = 0x7FFF0000;
constexpr int32_t kFogObjectId = kReservedIdFirst;

enum ObjectFlag : uint32_t {
  kFlagRemoved = 0x1,          // taken out of the map at the end of the current update
  kFlagHidden = 0x2,           // not drawn, not hit, sorted last
  kFlagObstacle = 0x4,         // blocks its obstacle rectangle on the path grid
  kFlagFogArea = 0x8,          // opens its fog area when the map starts
  kFlagClickable = 0x10,       // found by the pointer hit test
  kFlagPointerOver = 0x20,     // under the pointer
  kFlagTintPulse = 0x40,       // tint pulse playing
  kFlagCreatedAtLoad = 0x80,   // cleared for objects made at run time (effects, icons)
  kFlagCreated = 0x100,
  kFlagFreeOnRemove = 0x200,   // the memory is freed when removed (heap objects)
  kFlagDestroyOnRemove = 0x400 // the destructor runs when removed
};
constexpr uint32_t kNewObjectFlags = kFlagCreatedAtLoad | kFlagCreated | kFlagFreeOnRemove | kFlagDestroyOnRemove;

// debugShow bits.
enum DebugShow : uint8_t { kShowBound = 0x1, kShowSupport = 0x2, kShowId = 0x4, kShowFogArea = 0x10 };

constexpr int kAnimationSlots = 21;
constexpr int kTintPeriodMs = 1000;

struct IntPoint {
  int32_t x = 0, y = 0;
  bool operator==(const IntPoint&) const = default;
};

// What drawing needs beyond the object: the map's offset on screen and its global alpha.
struct DrawContext {
  float offsetX = 0.0f, offsetY = 0.0f;
  uint8_t alpha = 255;
};

// The draw colour and blend state of an object; the tint pulse scales the colour's channels.
struct DrawParams {
  uint32_t argb = 0xFFFFFFFF;
  uint32_t mode = 0;
};

class cObject : public Game::cObserver {
 public:
  cObject();
  ~cObject() override;

  // ---- Virtual operations, in slot order -----------------------------------------------------
  void OnEvent(GameEvent& event) override;                     // 0
  virtual bool LoadBinary(MapStream& stream);                  // 1: the record after type, subtype
  virtual bool LoadIni(const gFileName& file, const char* section);  // 2
  // 3: an object of the same class and the same fields, but no id, parent, tag or name; made by
  // the factory that made this one (arena or heap like a new object). Null without a factory.
  virtual cObject* Clone() const;
  virtual void SetHidden(bool hidden);                         // 4
  virtual void PostTagEvent();                                 // 5: event 48, reachable from the barn
  virtual void SetFogRadiusX(uint16_t r) { fogRadiusX = r; }   // 6
  virtual void SetFogRadiusY(uint16_t r) { fogRadiusY = r; }   // 7
  virtual void Kill();                                         // 8
  virtual void SetAnchor(IntPoint p);                          // 9
  virtual void SetAnchorF(float x, float y);                   // 10
  virtual float GetHeightAt(IntPoint) const { return 0.0f; }   // 11
  virtual int32_t GetOrderState() const { return 4; }          // 12
  virtual std::u16string GetDisplayName() const { return {}; } // 13
  virtual std::string GetNameKey() const { return {}; }        // 14
  virtual int32_t GetCursor() const { return 0; }              // 15
  virtual void Update(int32_t ms);                             // 16
  virtual void UpdateAnimation(int32_t ms);                    // 17
  virtual bool UpdateTimers(int32_t ms);                       // 18: true when it is to be removed
  virtual void Draw(const DrawContext& dc);                    // 19
  virtual void ResolveParent(const cMap& map);                 // 20
  virtual void OnAdded(cMap&) {}                               // 21
  virtual bool Click(bool) { return false; }                   // 22
  virtual bool ClickAt(int32_t, int32_t) { return false; }     // 23
  virtual void RequestPersons() {}                             // 24
  virtual void CancelOperation() {}                            // 25
  virtual void StartTint(bool on);                             // 26
  virtual const char* GetHintChildSubtype() const { return "hint"; }  // 27
  virtual void RegisterEvents(Game::cEventDispatcher*) {}      // 28
  virtual void OnMapReady() {}                                 // 29
  virtual void EditSupportPoint(IntPoint p, int key);          // 30
  virtual void SaveBinary(std::string& out) const;             // 31
  virtual void SaveIni(std::string& out) const;                // 32
  virtual void SaveChildScript(std::string& out) const;        // 33
  virtual void SetBoundHalfSize(IntPoint p) { boundHalfSize = p; }  // 34
  virtual void LoadAnimationsBinary(MapStream& stream);        // 35
  virtual void LoadAnimationsIni(const gFileName& file, const char* section);  // 36
  virtual void SaveAnimationsBinary(std::string& out) const;   // 37
  virtual void SaveAnimationsIni(std::string& out) const;      // 38
  virtual void SetAnimation(int slot, bool randomStart);       // 39
  virtual void SetFlipped(bool on);                            // 40
  virtual void GetFrameInfo(int& width, int& height, CSprite*& sprite) const;  // 41
  virtual void DrawDebug(const DrawContext& dc);               // 42
  virtual void Destroy(bool free);                             // 43
  virtual bool HoverEnter() { return true; }                   // 44
  virtual void HoverLeave() {}                                 // 45
  virtual void OnMapEvent(GameEvent&) {}                       // 46
  virtual bool IsHighlighted() const { return (flags & (kFlagPointerOver | kFlagTintPulse)) != 0; }  // 47

  // Subjects that withdrew from play (their own class says so) are not hit by the pointer.
  virtual bool IsWithdrawn() const { return false; }
  // The record's fields onto the object: the base part here; a family takes its class items from
  // record.extension. Both loaders end here, so a map.ini object equals its compiled twin.
  virtual void ApplyRecord(const MapObjectRecord& record);
  // The record the object would be saved as (base part; families add their items).
  virtual void FillRecord(MapObjectRecord& record) const;
  // Copies every field of `from` (Clone's second half); families extend it.
  virtual void CopyFrom(const cObject& from);

  // ---- Non-virtual operations ----------------------------------------------------------------
  void SetName(std::string_view name);  // name and tag
  void SetSubtype(std::string_view subtype);  // ignored when empty
  void OpenFogArea(int32_t a, int32_t b);
  cObject* GetParent(const cMap& map) const;
  cObject* FindChild(const cMap& map, std::string_view subtype) const;
  void HideChildren(cMap& map);
  void SetObstacle(cMap& map, bool on);

  bool Has(uint32_t f) const { return (flags & f) != 0; }
  void Set(uint32_t f, bool on) { flags = on ? (flags | f) : (flags & ~f); }
  IntPoint AnchorI() const { return {int32_t(x), int32_t(y)}; }
  IntPoint Support(int i) const;  // support point i (clamped to the count) in map pixels
  uint32_t CurrentColour() const;  // the draw colour with the tint pulse applied
  int32_t Lifetime() const { return lifetimeMs; }
  int32_t TintTime() const { return tintMs; }
  AnimationState& Anim(int slot) { return anims[slot < 0 || slot >= kAnimationSlots ? 0 : slot]; }

  // ---- Fields ------------------------------------------------------------------------------
  float x = 0.0f, y = 0.0f;  // anchor in map pixels
  IntPoint boundCentre, boundHalfSize;
  int32_t supportCount = 1;
  IntPoint supportPoints[3];
  IntPoint obstacleCentre, obstacleHalfSize;
  IntPoint fogAreaOffset;
  uint16_t fogRadiusX = 0, fogRadiusY = 0;
  int32_t layer = 0;
  DrawParams drawParams;
  uint8_t debugShow = 0;
  uint32_t flags = kNewObjectFlags;
  AnimationState anims[kAnimationSlots];
  IntPoint animOffsets[kAnimationSlots];
  uint32_t animHashes[kAnimationSlots] = {};  // kept for saving when the catalogue lacks a name
  int32_t currentAnimation = 0;
  float scale = 1.0f;
  uint8_t flipped = 0;
  int32_t id = kNoId;
  int32_t parentId = kNoId;
  uint32_t tag = 0;
  uint32_t parentTag = 0;
  uint32_t typeHash = 0, subtypeHash = 0;
  std::string childsKey;  // up to 100 characters
  std::string name, typeName, subtypeName;  // up to 52 characters each
  std::string childScript;  // the child script the object was loaded with

  // Set by the factory: who made the object (for Clone) and its family's row.
  cObjectFactory* factory = nullptr;

 protected:
  int32_t lifetimeMs = 0;
  int32_t tintMs = 0;
};

// The text limits of the object's names.
constexpr size_t kObjectNameMax = 52;
constexpr size_t kChildsKeyMax = 100;
}  // namespace Map

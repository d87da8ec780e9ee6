// The object factory: one for the whole run. It turns a type and subtype into an object of the
// class its family registered (a plain Map::cObject, with one gerr.log line, while the class is not
// built yet), carves arena families from the level's arena, hands out ids, loads objects from both
// map forms and clones their children from the child scripts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "anim/anim_child_script.h"
#include "game/core/map_family.h"
#include "game/core/map_object.h"

class MapStream;

namespace Map {
class cMap;

// The per-level arena: chunks of 50000 bytes; a request is rounded up to a multiple of the
// alignment (at least 4) and served from the current chunk while it fits, otherwise from a new one.
// Objects carved here are destroyed, never freed, when removed; the arena frees all chunks at once.
class cObjectArena {
 public:
  static constexpr size_t kChunkBytes = 50000;
  cObjectArena() = default;
  ~cObjectArena() = default;
  cObjectArena(const cObjectArena&) = delete;
  cObjectArena& operator=(const cObjectArena&) = delete;
  void* Allocate(size_t bytes, size_t align);
  size_t ChunkCount() const { return m_chunks.size(); }
  size_t BytesUsed() const { return m_used; }

 private:
  std::vector<std::unique_ptr<unsigned char[]>> m_chunks;
  size_t m_offset = kChunkBytes;  // in the current chunk
  size_t m_chunkSize = kChunkBytes;
  size_t m_used = 0;
};

class cObjectFactory {
 public:
  // Builds one object of a class in the memory given.
  using Construct = cObject* (*)(void* where);

  cObjectFactory();
  ~cObjectFactory();
  cObjectFactory(const cObjectFactory&) = delete;
  cObjectFactory& operator=(const cObjectFactory&) = delete;

  // A family's class becomes available. Families register once at start-up.
  void RegisterClass(std::string_view className, size_t size, size_t align, Construct construct);
  template <class T>
  void RegisterClass(std::string_view className) {
    RegisterClass(className, sizeof(T), alignof(T), [](void* w) -> cObject* { return new (w) T(); });
  }
  bool IsRegistered(std::string_view className) const;
  // For registration functions that may run more than once (several games, tests): a class
  // already known is left as it is.
  template <class T>
  void RegisterClassOnce(std::string_view className) {
    if (!IsRegistered(className)) RegisterClass<T>(className);
  }

  // A new level: its arena (none between levels) and ids from 1 again.
  void BeginLevel(cObjectArena* arena);
  void EndLevel() { m_arena = nullptr; }
  cObjectArena* Arena() const { return m_arena; }
  int32_t NextId() const { return m_nextId; }
  void SetNextId(int32_t id) { m_nextId = id; }
  void SetDispatcher(Game::cEventDispatcher* d) { m_dispatcher = d; }

  // A new object with its id, type and subtype, logged as "ObjectCreated" when playback logging is
  // on. Operation subjects start clickable.
  cObject* Create(std::string_view type, std::string_view subtype);
  // The object's memory and construction only (Clone, templates): no id, no names.
  cObject* Allocate(uint32_t typeHash, uint32_t subtypeHash, bool heapOnly = false);

  // One object (and its children, after it) from a binary record or an INI section, into `out`;
  // `offset` is added to the anchor. False when the record could not be read (the stream has
  // failed, or the INI family is refused); a section without "type" gives true and no object.
  bool LoadFromBinary(MapStream& stream, IntPoint offset, std::vector<cObject*>& out);
  bool LoadFromIni(const gFileName& file, const char* section, IntPoint offset, std::vector<cObject*>& out);

  // Clones the templates of the object's child script list (childsKey, or its subtype when empty)
  // as its children: ids, parent id, anchor relative to the parent (x mirrored for a flipped parent).
  void AddChildren(const cObject& parent, std::vector<cObject*>& out);
  // The child scripts every level uses, read once when the factory is made.
  void LoadChildScript(const char* file);
  const Core::cChildRegistry<cObject>& Children() const { return m_children; }

  // Registers a new object's events: icons of bars for 49, "upgradeLevel" icons for 29, bonus
  // places for 77, then the object's own.
  void RegisterEvents(cObject& object) const;

 private:
  struct ClassInfo {
    size_t size, align;
    Construct construct;
  };
  cObject* Build(const MapFamily& family, bool heapOnly);
  std::unique_ptr<cObject> MakeTemplate(const Core::ChildTemplateRef& ref);

  std::unordered_map<std::string, ClassInfo> m_classes;
  std::unordered_set<std::string> m_reported;  // classes already named in gerr.log as missing
  cObjectArena* m_arena = nullptr;
  Game::cEventDispatcher* m_dispatcher = nullptr;
  int32_t m_nextId = 1;
  Core::cChildRegistry<cObject> m_children;
};

// The factory of the run (made at start-up); null before and after.
cObjectFactory* objectFactory();
void objectFactoryCreate();
void objectFactoryDestroy();
}  // namespace Map

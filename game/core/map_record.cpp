// Reading and writing object records in both forms of a level map.
#include "game/core/map_record.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "base/diag.h"
#include "base/float_text.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/map_stream.h"

namespace {
const uint32_t kNullHash = NameHash("null");

// Corrections shared by both readers; `where` describes the source for the gerr.log line.
void fixRecord(MapObjectRecord& r, const std::string& where) {
  if (r.scale == 0.0f) r.scale = 1.0f;
  if (!std::isfinite(r.scale)) {
    errorLog("%s: object \"%s\" has a scale that is not a number, using 1\n", where.c_str(), r.name.c_str());
    r.scale = 1.0f;
  }
  if (r.supportCount == 0) r.supportCount = 1;
  if (r.supportCount < 1 || r.supportCount > 3) {
    int fixed = r.supportCount < 1 ? 1 : 3;
    errorLog("%s: object \"%s\" has %d support points, using %d\n", where.c_str(), r.name.c_str(),
             int(r.supportCount), fixed);
    r.supportCount = fixed;
  }
  if (r.currentAnimation < 0 || r.currentAnimation >= kAnimSlots) {
    errorLog("%s: object \"%s\" starts with animation slot %d, using 0\n", where.c_str(), r.name.c_str(),
             int(r.currentAnimation));
    r.currentAnimation = 0;
  }
  if (r.fogRadiusY == 0) r.fogRadiusY = r.fogRadiusX;
  for (MapAnimSlot& a : r.anims)
    if (a.hash == kNullHash) a.hash = 0;
}

std::string at(const MapStream& s) {
  char buf[48];
  std::snprintf(buf, sizeof buf, " (offset %zu)", s.Position());
  return s.Name() + buf;
}

std::string formatFloat(float f) {
  char buf[64];
  auto res = baseFloatToCharsFixed(buf, buf + sizeof buf, f);
  if (res.ec != std::errc()) return "0";
  return std::string(buf, res.ptr);
}
}  // namespace

// Every item of a family's blocks in binary order.
template <typename Fn>
void forEachItem(const MapFamily& fam, Fn&& fn) {
  size_t i = 0;
  for (const MapExtension* block : fam.blocks)
    for (const MapExtItem& item : block->items) fn(i++, item);
}

uint32_t mapAnimHash(std::string_view v) {
  if (v.empty()) return 0;
  if (v.size() == 4 && (v[0] | 32) == 'n' && (v[1] | 32) == 'u' && (v[2] | 32) == 'l' && (v[3] | 32) == 'l')
    return 0;
  if (v.size() == 10 && v[0] == '0' && (v[1] | 32) == 'x') {
    uint32_t h = 0;
    auto res = std::from_chars(v.data() + 2, v.data() + v.size(), h, 16);
    if (res.ec == std::errc() && res.ptr == v.data() + v.size()) return h;
  }
  return NameHash(v);
}

bool mapReadBase(MapStream& s, MapObjectRecord& r) {
  const std::string where = at(s);
  r.name = s.ReadString();
  r.x = s.ReadInt32();
  r.y = s.ReadInt32();
  r.scale = s.ReadFloat32();
  r.flipped = s.ReadInt32() != 0;
  r.layer = s.ReadInt32();
  r.boundX = s.ReadInt32();
  r.boundY = s.ReadInt32();
  r.boundXS = s.ReadInt32();
  r.boundYS = s.ReadInt32();
  r.supportCount = s.ReadInt8();
  for (auto& p : r.support) {
    p[0] = s.ReadInt32();
    p[1] = s.ReadInt32();
  }
  r.isObstacle = s.ReadInt8() != 0;
  r.obstacleX = s.ReadInt32();
  r.obstacleY = s.ReadInt32();
  r.obstacleXS = s.ReadInt32();
  r.obstacleYS = s.ReadInt32();
  r.isFogArea = s.ReadInt8() != 0;
  r.fogAreaDeltaX = s.ReadInt32();
  r.fogAreaDeltaY = s.ReadInt32();
  r.fogRadiusX = uint16_t(s.ReadInt32());
  r.fogRadiusY = uint16_t(s.ReadInt32());
  r.parentTag = uint32_t(s.ReadInt32());
  r.childsKey = s.ReadString();
  for (MapAnimSlot& a : r.anims) {
    a.hash = uint32_t(s.ReadInt32());
    a.dx = s.ReadInt32();
    a.dy = s.ReadInt32();
  }
  r.currentAnimation = s.ReadInt8();
  if (s.Failed()) return false;
  fixRecord(r, where);
  return true;
}

bool mapReadExtension(MapStream& s, MapObjectRecord& r) {
  const MapFamily& fam = mapFamilyOf(r.type, r.subtype);
  if (!fam.itemsKnown) {
    std::string what = "object \"" + r.name + "\" (type \"" + r.type + "\", subtype \"" + r.subtype + "\") is a " +
                       fam.className + ", whose record items are not known; the rest of the map cannot be read";
    s.Fail(what.c_str());
    return false;
  }
  r.extension.assign(fam.ItemCount(), MapExtValue{});
  forEachItem(fam, [&](size_t i, const MapExtItem& item) {
    MapExtValue& v = r.extension[i];
    switch (item.kind) {
      case MapItem::Int32: v.i = s.ReadInt32(); break;
      case MapItem::Int8:
        v.i = item.form == MapIniForm::ClampedByte ? int32_t(uint8_t(s.ReadInt8())) : int32_t(s.ReadInt8());
        break;
      case MapItem::Float32: v.f = s.ReadFloat32(); break;
      case MapItem::String: v.s = s.ReadString(); break;
    }
  });
  return !s.Failed();
}

bool mapReadObject(MapStream& s, MapObjectRecord& r) {
  r = MapObjectRecord{};
  r.type = s.ReadString();
  r.subtype = s.ReadString();
  if (!mapReadBase(s, r) || !mapReadExtension(s, r)) return false;
  r.childScript = s.ReadString();
  return !s.Failed();
}

bool mapRecordFromIni(const gFileName& f, const char* section, MapObjectRecord& r) {
  return mapReadIniRecord(f, section, r) == MapIniRead::Ok;
}

MapIniRead mapReadIniRecord(const gFileName& f, const char* section, MapObjectRecord& r, bool refuseUnknown) {
  r = MapObjectRecord{};
  r.type = iniGetString(f, section, "type", "");
  if (r.type.empty()) return MapIniRead::NoObject;
  r.subtype = iniGetString(f, section, "subType", "");
  const MapFamily& fam = mapFamilyOf(r.type, r.subtype);
  if (!fam.itemsKnown && refuseUnknown) {
    errorLog("%s [%s]: object of type \"%s\", subtype \"%s\" is a %s, whose keys are not known; refused\n",
             f.Utf8().c_str(), section, r.type.c_str(), r.subtype.c_str(), fam.className);
    r.name = section;  // type, subtype and name say what was refused
    return MapIniRead::Refused;
  }
  r.name = section;
  auto geti = [&](const char* key) { return int32_t(iniGetInt(f, section, key, 0)); };
  r.x = geti("x");
  r.y = geti("y");
  r.layer = geti("layer");
  r.scale = iniGetFloat(f, section, "objectScale", 0.0f);
  r.flipped = geti("isFlipX") != 0;
  r.boundX = geti("boundX");
  r.boundY = geti("boundY");
  r.boundXS = geti("boundXS");
  r.boundYS = geti("boundYS");
  r.supportCount = geti("supportsAmount");
  const char* sx[3] = {"supportX", "support1X", "support2X"};
  const char* sy[3] = {"supportY", "support1Y", "support2Y"};
  for (int i = 0; i < 3; ++i) {
    r.support[i][0] = geti(sx[i]);
    r.support[i][1] = geti(sy[i]);
  }
  r.isObstacle = geti("isObstacle") != 0;
  r.obstacleX = geti("obstacleX");
  r.obstacleY = geti("obstacleY");
  r.obstacleXS = geti("obstacleXS");
  r.obstacleYS = geti("obstacleYS");
  r.isFogArea = geti("isFogArea") != 0;
  r.fogAreaDeltaX = geti("fogAreaDeltaX");
  r.fogAreaDeltaY = geti("fogAreaDeltaY");
  r.fogRadiusX = uint16_t(geti("fogAreaRadius"));
  r.fogRadiusY = uint16_t(geti("fogAreaRadius2"));
  r.parentTag = uint32_t(geti("parentTag"));
  if (r.parentTag == 0) r.parentTag = NameHash(iniGetString(f, section, "parentTagStr", ""));
  r.childsKey = iniGetString(f, section, "childsKey", "");
  for (int i = 0; i < kAnimSlots; ++i) {
    std::string n = std::to_string(i);
    r.anims[i].hash = mapAnimHash(iniGetString(f, section, ("anim" + n).c_str(), ""));
    r.anims[i].dx = geti(("animDelta" + n + "x").c_str());
    r.anims[i].dy = geti(("animDelta" + n + "y").c_str());
  }
  r.currentAnimation = geti("currentAnimation");
  r.extension.assign(fam.ItemCount(), MapExtValue{});
  forEachItem(fam, [&](size_t i, const MapExtItem& item) {
    MapExtValue& v = r.extension[i];
    if (!item.key) return;
    switch (item.kind) {
      case MapItem::Int32:
      case MapItem::Int8:
        if (item.form == MapIniForm::ResourceName) {
          v.i = mapResourceIndex(iniGetString(f, section, item.key, ""));
        } else {
          v.i = geti(item.key);
          if (item.form == MapIniForm::StoredMinusOne) v.i = v.i > 0 ? v.i - 1 : 8;
        }
        if (item.form == MapIniForm::ClampedByte && (v.i < 0 || v.i > 255)) {
          // One byte in map.bin: the same value in both forms rather than its low bits.
          const int32_t fixed = v.i < 0 ? 0 : 255;
          errorLog("%s [%s]: %s=%d is outside 0..255, using %d\n", f.Utf8().c_str(), section, item.key, int(v.i),
                   int(fixed));
          v.i = fixed;
        } else if (item.kind == MapItem::Int8 && item.form != MapIniForm::ClampedByte) {
          v.i = int8_t(v.i);
        }
        break;
      case MapItem::Float32:
        v.f = iniGetFloat(f, section, item.key, 0.0f);
        if (item.form == MapIniForm::ZeroIsOne && v.f == 0.0f) v.f = 1.0f;
        break;
      case MapItem::String: v.s = iniGetString(f, section, item.key, ""); break;
    }
  });
  r.childScript = iniGetString(f, section, "childScript", "");
  fixRecord(r, f.Utf8() + " [" + section + "]");
  return MapIniRead::Ok;
}

void mapWriteInt32(std::string& out, int32_t v) {
  uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) out.push_back(char((u >> (8 * i)) & 0xFF));
}

void mapWriteFloat32(std::string& out, float v) {
  uint32_t u;
  static_assert(sizeof u == sizeof v);
  std::memcpy(&u, &v, 4);
  mapWriteInt32(out, int32_t(u));
}

bool mapWriteString(std::string& out, std::string_view text, std::string* error) {
  if (text.size() > size_t(kMapStringMax)) {
    if (error) *error = "text longer than 127 bytes: \"" + std::string(text.substr(0, 40)) + "...\"";
    return false;
  }
  out.push_back(char(int8_t(text.size())));
  if (!text.empty()) {
    out.append(text);
    out.push_back('\0');
  }
  return true;
}

bool mapWriteObject(std::string& out, const MapObjectRecord& r, std::string* error) {
  bool ok = mapWriteString(out, r.type, error) && mapWriteString(out, r.subtype, error) &&
            mapWriteString(out, r.name, error);
  if (!ok) return false;
  for (int32_t v : {r.x, r.y}) mapWriteInt32(out, v);
  mapWriteFloat32(out, r.scale);
  for (int32_t v : {r.flipped, r.layer, r.boundX, r.boundY, r.boundXS, r.boundYS}) mapWriteInt32(out, v);
  out.push_back(char(int8_t(r.supportCount)));
  for (const auto& p : r.support) {
    mapWriteInt32(out, p[0]);
    mapWriteInt32(out, p[1]);
  }
  out.push_back(char(r.isObstacle ? 1 : 0));
  for (int32_t v : {r.obstacleX, r.obstacleY, r.obstacleXS, r.obstacleYS}) mapWriteInt32(out, v);
  out.push_back(char(r.isFogArea ? 1 : 0));
  for (int32_t v : {r.fogAreaDeltaX, r.fogAreaDeltaY, int32_t(r.fogRadiusX), int32_t(r.fogRadiusY),
                    int32_t(r.parentTag)})
    mapWriteInt32(out, v);
  if (!mapWriteString(out, r.childsKey, error)) return false;
  for (const MapAnimSlot& a : r.anims) {
    mapWriteInt32(out, int32_t(a.hash));
    mapWriteInt32(out, a.dx);
    mapWriteInt32(out, a.dy);
  }
  out.push_back(char(int8_t(r.currentAnimation)));
  const MapFamily& fam = mapFamilyOf(r.type, r.subtype);
  if (!fam.itemsKnown) {
    if (error) *error = std::string("a ") + fam.className + " has record items not known here";
    return false;
  }
  ok = true;
  forEachItem(fam, [&](size_t i, const MapExtItem& item) {
    MapExtValue v = i < r.extension.size() ? r.extension[i] : MapExtValue{};
    switch (item.kind) {
      case MapItem::Int32: mapWriteInt32(out, v.i); break;
      case MapItem::Int8: out.push_back(char(int8_t(v.i))); break;
      case MapItem::Float32: mapWriteFloat32(out, v.f); break;
      case MapItem::String:
        if (ok && !mapWriteString(out, v.s, error)) ok = false;
        break;
    }
  });
  if (!ok) return false;
  return mapWriteString(out, r.childScript, error);
}

std::string mapRecordToIni(const MapObjectRecord& r, MapAnimNameFn animName, void* context) {
  // Keys at their default are left out: the INI reader gives the same value back.
  std::string t = "[" + r.name + "]\n";
  auto key = [&t](const char* k, const std::string& v) { t += std::string(k) + "=" + v + "\n"; };
  auto num = [&key](const char* k, int64_t v) {
    if (v) key(k, std::to_string(v));
  };
  key("type", r.type);
  if (!r.subtype.empty()) key("subType", r.subtype);
  key("x", std::to_string(r.x));
  key("y", std::to_string(r.y));
  num("layer", r.layer);
  if (r.scale != 1.0f) key("objectScale", formatFloat(r.scale));
  num("isFlipX", r.flipped);
  num("boundX", r.boundX);
  num("boundY", r.boundY);
  num("boundXS", r.boundXS);
  num("boundYS", r.boundYS);
  if (r.supportCount != 1) num("supportsAmount", r.supportCount);
  const char* sx[3] = {"supportX", "support1X", "support2X"};
  const char* sy[3] = {"supportY", "support1Y", "support2Y"};
  for (int i = 0; i < 3; ++i) {
    num(sx[i], r.support[i][0]);
    num(sy[i], r.support[i][1]);
  }
  num("isObstacle", r.isObstacle);
  num("obstacleX", r.obstacleX);
  num("obstacleY", r.obstacleY);
  num("obstacleXS", r.obstacleXS);
  num("obstacleYS", r.obstacleYS);
  num("isFogArea", r.isFogArea);
  num("fogAreaDeltaX", r.fogAreaDeltaX);
  num("fogAreaDeltaY", r.fogAreaDeltaY);
  num("fogAreaRadius", r.fogRadiusX);
  if (r.fogRadiusY != r.fogRadiusX) num("fogAreaRadius2", r.fogRadiusY);
  num("parentTag", int32_t(r.parentTag));  // signed, as the INI reader takes it
  if (!r.childsKey.empty()) key("childsKey", r.childsKey);
  for (int i = 0; i < kAnimSlots; ++i) {
    const MapAnimSlot& a = r.anims[i];
    std::string n = std::to_string(i);
    if (a.hash) {
      const char* known = animName ? animName(a.hash, context) : nullptr;
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08X", unsigned(a.hash));
      key(("anim" + n).c_str(), known ? known : hex);
    }
    if (a.dx) num(("animDelta" + n + "x").c_str(), a.dx);
    if (a.dy) num(("animDelta" + n + "y").c_str(), a.dy);
  }
  num("currentAnimation", r.currentAnimation);
  // A key two items share (a generator's amount) is written once.
  std::vector<std::string> written;
  forEachItem(mapFamilyOf(r.type, r.subtype), [&](size_t i, const MapExtItem& item) {
    if (!item.key || i >= r.extension.size()) return;
    for (const std::string& w : written)
      if (w == item.key) return;
    written.push_back(item.key);
    const MapExtValue& v = r.extension[i];
    switch (item.kind) {
      case MapItem::Int32:
      case MapItem::Int8:
        if (item.form == MapIniForm::ResourceName) key(item.key, mapResourceName(v.i));
        else if (item.form == MapIniForm::StoredMinusOne) key(item.key, std::to_string(v.i + 1));
        else key(item.key, std::to_string(v.i));
        break;
      case MapItem::Float32: key(item.key, formatFloat(v.f)); break;
      case MapItem::String: key(item.key, v.s); break;
    }
  });
  if (!r.childScript.empty()) key("childScript", r.childScript);
  return t;
}

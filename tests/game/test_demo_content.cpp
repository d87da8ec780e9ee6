// The bundled demo's workers and buildings hold together: every animation the worker's table, the
// level's objects, the buildings' scripts and icons name is in the catalogue with a readable
// picture whose height splits into its frames; the worker faces all eight ways (the left-hand
// facings mirror the right-hand ones); signs end by themselves; every sound named is a readable
// WAV; every object name is translated. A broken reference in the data fails here, not silently
// in the running game. The pictures stand on their anchors (drawn centred, a worker's feet and a
// building's foot are at the picture's middle row) and a site, a building under construction and
// the finished building are told apart by how much of the picture they fill.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/map_object.h"
#include "demo_copy_util.h"
#include "game_test_util.h"
#include "gfx/image.h"
#include "sound/snd_file.h"
#include "support/demo_copy.h"
#include "support/level_harness.h"

namespace {

struct DemoContent : gametest::DemoCopySlate {
  const char* CopyName() const override { return "demo_content"; }
};

// The catalogue entry of an animation whose picture exists and splits evenly into its frames;
// adds a failure naming `where` otherwise.
const Core::cAnimationManager::Entry* checkedAnimation(const std::string& name, const std::string& where) {
  const auto* e = Core::animManager().Find(NameHash(name));
  if (!e) {
    ADD_FAILURE() << where << ": animation \"" << name << "\" is not in the catalogue";
    return nullptr;
  }
  int w = 0, h = 0;
  auto reader = imgReaderFor(e->path);
  if (!reader || !reader->ReadSize(e->path.c_str(), w, h)) {
    ADD_FAILURE() << where << ": picture " << e->path << " of \"" << name << "\" cannot be read";
    return nullptr;
  }
  const int frames = e->state.FrameCount();
  EXPECT_GT(w, 0) << e->path;
  EXPECT_EQ(h % frames, 0) << e->path << " does not split into " << frames << " frames";
  return e;
}

// Opaque pixels of one frame of a picture: their count and the lowest and highest rows holding one.
struct Solid {
  int count = 0, top = -1, bottom = -1, left = 1 << 30, right = -1;
};
Solid solidPixels(const std::string& file, int frame, int frames, int minAlpha) {
  Solid s;
  auto img = imgReaderFor(file);
  if (!img || img->Load(file.c_str()) != 0 || img->BitsPerPixel() != 32) {
    ADD_FAILURE() << file << " is not a picture with alpha";
    return s;
  }
  const int h = img->Height() / frames;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = img->Row(frame * h + y);
    for (int x = 0; x < img->Width(); ++x)
      if (row[x * 4 + 3] >= minAlpha) {
        ++s.count;
        if (s.top < 0) s.top = y;
        s.bottom = y;
        s.left = std::min(s.left, x);
        s.right = std::max(s.right, x);
      }
  }
  return s;
}

bool wavReadable(const std::string& file) {
  CFileWAV wav;
  return wav.Open(file) == 0 && wav.DataSize() > 0;
}

const char* const kDrawnStates[] = {"stay",  "stay2",  "move",  "moveWithBag", "happy",
                                    "happy2", "build", "repair", "gather",     "greetings"};
const char* const kUndrawnStates[] = {"axe", "pick", "chop", "trade", "giveheart", "trade2"};

TEST_F(DemoContent, TheWorkerFacesEveryWayInEachOfItsStatesFromTheLevelsSkin) {
  const char* persons = "data/person/persons.ini";
  // The group the level loads for its workers: "skin" + (iWorkersSkin + 1).
  const std::string skin = "skin" + std::to_string(iniGetInt("data/maps/1/balance.ini", "Main", "iWorkersSkin", 0) + 1);
  for (const char* state : kDrawnStates) {
    std::string paths[8];
    for (int d = 0; d < 8; ++d) {
      const std::string key = std::string(state) + "_anim" + std::to_string(d);
      const std::string name = iniGetString(persons, "Worker1", key.c_str(), "");
      ASSERT_FALSE(name.empty() || textEqualNoCase(name, "null")) << key;
      const auto* e = checkedAnimation(name, key);
      if (!e) continue;
      paths[d] = e->path;
      EXPECT_EQ(e->group, skin) << key;
      EXPECT_TRUE(e->state.Has(AnimationState::kLoop) || std::string(state) == "stay2") << key;
      // Facing left (5, 6, 7) is facing right (3, 2, 1) mirrored; the drawn facings are not.
      EXPECT_EQ(e->state.Has(AnimationState::kFlipX), d >= 5) << key;
    }
    for (int d = 5; d < 8; ++d) EXPECT_EQ(paths[d], paths[8 - d]) << state << " facing " << d;
    std::set<std::string> drawn(paths, paths + 5);
    EXPECT_EQ(drawn.size(), 5u) << state << ": the five drawn facings must be five pictures";
  }
  // The fidget plays once for its own length, then the worker stands again.
  const auto* fidget = Core::animManager().Find(NameHash(iniGetString(persons, "Worker1", "stay2_anim4", "")));
  ASSERT_NE(fidget, nullptr);
  EXPECT_FALSE(fidget->state.Has(AnimationState::kLoop));
  for (const char* state : kUndrawnStates)
    for (int d = 0; d < 8; ++d) {
      const std::string key = std::string(state) + "_anim" + std::to_string(d);
      EXPECT_TRUE(textEqualNoCase(iniGetString(persons, "Worker1", key.c_str(), ""), "null")) << key;
    }
}

TEST_F(DemoContent, EveryPictureAndNameOfTheLevelsObjectsResolves) {
  testkit::LevelHarness level;
  ASSERT_TRUE(level.Load("data/maps/1", false));
  ASSERT_GE(level.map.Count(), 15u);
  int slots = 0;
  for (size_t i = 0; i < level.map.Count(); ++i) {
    const Map::cObject* o = level.map.At(i);
    for (int s = 0; s < Map::kAnimationSlots; ++s) {
      if (!o->animHashes[s]) continue;
      const char* name = Core::animManager().AnimationNameOf(o->animHashes[s]);
      ASSERT_NE(name, nullptr) << o->name << " slot " << s << " names an animation the catalogue lacks";
      checkedAnimation(name, o->name + " slot " + std::to_string(s));
      ++slots;
    }
  }
  EXPECT_GE(slots, 20);
  // Names shown to the player are translation keys that the translation document holds.
  for (const std::string& section : iniSectionList("data/maps/1/map.ini")) {
    const std::string key = iniGetString("data/maps/1/map.ini", section.c_str(), "name", "");
    if (key.empty()) continue;
    const std::string text = iniGetText("data/maps/1/map.ini", section.c_str(), "name", "");
    EXPECT_FALSE(text.empty() || text[0] == '#') << section << ": " << key << " is not translated";
  }
}

TEST_F(DemoContent, BuildingScriptsIconsAndSoundsResolve) {
  const char* buildings = "data/buildings/buildings.ini";
  std::set<std::string> subtypes;
  for (const std::string& section : iniSectionList("data/maps/1/map.ini"))
    if (std::string(iniGetString("data/maps/1/map.ini", section.c_str(), "type", "")) == "building")
      subtypes.insert(iniGetString("data/maps/1/map.ini", section.c_str(), "subType", ""));
  ASSERT_GE(subtypes.size(), 3u);
  for (const std::string& sub : subtypes) {
    const std::string script = iniGetString(buildings, sub.c_str(), "animScript", "");
    ASSERT_TRUE(fileExists(script.c_str())) << sub << ": animScript \"" << script << "\"";
    int layers = 0;
    for (const char* state : {"Idle", "WorkerOperation", "WorkerOperation2", "WorkerOperation3", "WorkerJoy"}) {
      for (int k = 1; k <= 50; ++k) {
        const std::string layer = iniGetString(script.c_str(), state, std::to_string(k).c_str(), "");
        if (layer.empty()) break;
        checkedAnimation(iniGetString(script.c_str(), layer.c_str(), "anim", ""), script + " " + layer);
        ++layers;
      }
    }
    EXPECT_GT(layers, 0) << script << " shows nothing";
    EXPECT_FALSE(std::string(iniGetString(script.c_str(), "WorkerJoy", "1", "")).empty()) << sub << " has no joy";
    // The work sound: a readable WAV in slot 0 of the subtype's track.
    EXPECT_TRUE(wavReadable(iniGetString("data/buildings/sounds.ini", sub.c_str(), "sound0", ""))) << sub;
    // Children: the named icons exist and what they show is in the catalogue.
    const char* icons = "data/buildings/icons.ini";
    ASSERT_EQ(iniGetInt(icons, sub.c_str(), "isList", 0), 1) << sub;
    std::set<std::string> named;
    for (int k = 1; k <= 30; ++k) {
      const std::string t = iniGetString(icons, sub.c_str(), std::to_string(k).c_str(), "");
      if (t.empty()) break;
      EXPECT_FALSE(std::string(iniGetString(icons, t.c_str(), "type", "")).empty()) << t;
      named.insert(iniGetString(icons, t.c_str(), "subType", ""));
      for (int s = 0; s < Map::kAnimationSlots; ++s) {
        const std::string a = iniGetString(icons, t.c_str(), ("anim" + std::to_string(s)).c_str(), "");
        if (!a.empty()) checkedAnimation(a, t);
      }
    }
    for (const char* child : {"brokenicon", "upgradeicon", "upgradeHint", "hint", "focusMarker", "UpgradeTrumpets"})
      EXPECT_EQ(named.count(child), 1u) << sub << " lacks the child " << child;
  }
  // Order feedback: both signs end by themselves (the subject shows one while it runs).
  for (const char* sign : {"Object_Sign_Yes", "Object_Sign_No"}) {
    const auto* e = checkedAnimation(sign, sign);
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->state.Has(AnimationState::kLoop)) << sign;
  }
  // Voices and refusals.
  const std::string gather = iniGetString("data/person/persons.ini", "Worker1", "GatherSoundKey", "");
  EXPECT_TRUE(wavReadable(iniGetString("data/person/sounds.ini", "Worker", "name", "")));
  EXPECT_TRUE(wavReadable(iniGetString("data/person/sounds.ini", gather.c_str(), "name", ""))) << gather;
  EXPECT_TRUE(wavReadable(iniGetString("data/obstacles/sounds.ini", "CantDoOperation", "name", "")));
}

TEST_F(DemoContent, PicturesStandOnTheirAnchorsAndBuildingStagesLookApart) {
  // The worker: feet on the middle row (the anchor), about 24 x 36 pixels, in every frame.
  for (const char* key : {"stay_anim4", "move_anim2", "moveWithBag_anim3", "build_anim0", "gather_anim4"}) {
    const auto* e = Core::animManager().Find(NameHash(iniGetString("data/person/persons.ini", "Worker1", key, "")));
    ASSERT_NE(e, nullptr) << key;
    int w = 0, h = 0;
    ASSERT_TRUE(imgReaderFor(e->path)->ReadSize(e->path.c_str(), w, h));
    const int frames = e->state.FrameCount(), middle = h / frames / 2;
    for (int f = 0; f < frames; ++f) {
      const Solid s = solidPixels(e->path, f, frames, 200);  // the soft shadow is fainter
      ASSERT_GT(s.count, 0) << key << " frame " << f;
      EXPECT_GE(s.bottom, middle - 4) << key << " frame " << f << ": feet above the anchor";
      EXPECT_LE(s.bottom, middle + 3) << key << " frame " << f << ": feet below the anchor";
      EXPECT_GE(s.bottom - s.top + 1, 28) << key << " frame " << f;
      EXPECT_LE(s.bottom - s.top + 1, 44) << key << " frame " << f;
      EXPECT_LE(s.right - s.left + 1, 30) << key << " frame " << f;
    }
  }
  // The cottage: its site, its scaffolding and the finished house, each standing on the anchor.
  std::string site, scaffold, built;
  for (const std::string& section : iniSectionList("data/maps/1/map.ini"))
    if (iniGetInt("data/maps/1/map.ini", section.c_str(), "state", 0) == 1) {
      site = iniGetString("data/maps/1/map.ini", section.c_str(), "anim7", "");
      scaffold = iniGetString("data/maps/1/map.ini", section.c_str(), "anim8", "");
      built = iniGetString("data/maps/1/map.ini", section.c_str(), "anim0", "");
    }
  ASSERT_FALSE(site.empty() || scaffold.empty() || built.empty()) << "the level has no building site";
  int counts[3] = {};
  int i = 0;
  for (const std::string& name : {site, scaffold, built}) {
    const auto* e = checkedAnimation(name, name);
    ASSERT_NE(e, nullptr);
    int w = 0, h = 0;
    ASSERT_TRUE(imgReaderFor(e->path)->ReadSize(e->path.c_str(), w, h));
    const Solid s = solidPixels(e->path, 0, 1, 128);
    EXPECT_GE(s.bottom, h / 2) << name << " floats above its anchor";
    EXPECT_LE(s.bottom, h / 2 + 30) << name << " hangs far below its anchor";
    counts[i++] = s.count;
  }
  EXPECT_LT(counts[0] * 2, counts[1]) << "the site should be far emptier than the scaffolding";
  EXPECT_LT(counts[1] * 5, counts[2] * 4) << "the scaffolding should be clearly emptier than the house";
}

}  // namespace

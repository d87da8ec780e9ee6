// The map compiler of content authors: map.ini, a grid mask and a fog picture become map.bin, and
// map.bin becomes a readable dump (or map.ini and pictures that build the same map again).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "files/ini.h"
#include "game/core/map_compile.h"
#include "game/core/map_mask.h"
#include "game/core/map_stream.h"

namespace fs = std::filesystem;

namespace {
int usage() {
  std::cerr
      << "usage:\n"
         "  mapc build <map.ini> <map.bin> [--grid mask.png] [--fog fog.png | --fog-value F] [-C folder]\n"
         "  mapc dump <map.bin> [<out folder>] [--anims names] [-C folder]\n"
         "  mapc families\n"
         "\n"
         "build: every section of map.ini with a \"type\" is one object (Include keys 0-8 name files whose\n"
         "  sections are listed too; their keys are read from map.ini, as the game does). The grid mask is\n"
         "  103x77 (a pixel per 10x10 cell) or any size laid over the 1024x768 map; opaque pixels darker than\n"
         "  mid grey are obstacles. The fog picture is 104x79 vertex opacities (or any size over the map):\n"
         "  white is full fog, black or transparent is clear; without one every vertex is F (default 1).\n"
         "  An animation slot may give a raw hash as 0x + 8 hex digits. Each object family's own keys are\n"
         "  written as its blocks of items (see \"mapc families\"); a family whose items are not known yet\n"
         "  is refused, naming the section.\n"
         "families: lists the object families by type and subtype with their classes and item counts.\n"
         "dump: prints the objects as map.ini text, a picture of the grid and a fog summary; with an out\n"
         "  folder writes map.ini, grid.png and fog.png there instead. --anims names animations (one per\n"
         "  line, or an INI map whose anim keys are taken) so slots show names instead of hashes.\n"
         "-C: run in that folder (the game folder, so Include paths resolve).\n";
  return 2;
}

bool readAll(const std::string& p, std::string& out) {
  std::ifstream f(p, std::ios::binary);
  if (!f) return false;
  out.assign(std::istreambuf_iterator<char>(f), {});
  return true;
}

bool writeAll(const std::string& p, const std::string& bytes) {
  fs::path path(p);
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream f(p, std::ios::binary);
  f.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(f);
}

std::vector<std::string> animNamesFrom(const std::string& path) {
  std::vector<std::string> names;
  if (path.size() > 4 && path.compare(path.size() - 4, 4, ".ini") == 0) {
    for (const std::string& section : iniSectionList(path.c_str()))
      for (int i = 0; i < 21; ++i) names.push_back(iniGetString(path.c_str(), section.c_str(), ("anim" + std::to_string(i)).c_str(), ""));
    return names;
  }
  std::ifstream f(path);
  for (std::string line; std::getline(f, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    names.push_back(line);
  }
  return names;
}

int build(const std::vector<std::string>& args) {
  MapCompileInput in;
  std::string outPath;
  std::vector<std::string> plain;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool hasValue = i + 1 < args.size();
    if (a == "--grid" && hasValue) in.gridPath = args[++i];
    else if (a == "--fog" && hasValue) in.fogPath = args[++i];
    else if (a == "--fog-value" && hasValue) in.fogValue = std::strtof(args[++i].c_str(), nullptr);
    else if (a.rfind("--", 0) == 0) return usage();
    else plain.push_back(a);
  }
  if (plain.size() != 2) return usage();
  in.iniPath = plain[0];
  outPath = plain[1];
  if (!(in.fogValue >= 0.0f && in.fogValue <= 1.0f)) {
    std::cerr << "mapc: --fog-value must be 0 to 1\n";
    return 1;
  }
  MapFile map;
  std::string error;
  std::vector<std::string> notes;
  bool ok = mapCompile(in, map, &error, &notes);
  for (const std::string& n : notes) std::cerr << "mapc: note: " << n << "\n";
  std::string bytes;
  if (ok) ok = mapSerialise(map, bytes, &error);
  if (!ok) {
    std::cerr << "mapc: " << error << "\n";
    return 1;
  }
  if (!writeAll(outPath, bytes)) {
    std::cerr << "mapc: cannot write " << outPath << "\n";
    return 1;
  }
  int blocked = 0;
  for (const auto& row : map.grid.cells)
    for (uint8_t c : row) blocked += c & 1;
  std::cout << outPath << ": " << map.objects.size() << " objects, " << blocked << " obstacle cells, " << bytes.size()
            << " bytes\n";
  return 0;
}

void printSummary(const MapFile& map) {
  std::cout << "; path grid (# obstacle, + other flag bits, . free)\n";
  for (const auto& row : map.grid.cells) {
    std::string line = ";   ";
    for (uint8_t c : row) line += (c & 1) ? '#' : (c ? '+' : '.');
    std::cout << line << "\n";
  }
  float lo = 1.0f, hi = 0.0f;
  double sum = 0;
  for (const auto& row : map.fog.alpha)
    for (const auto& cell : row)
      for (float a : cell) {
        lo = std::min(lo, a);
        hi = std::max(hi, a);
        sum += a;
      }
  std::printf("; fog opacity: min %.3f, max %.3f, mean %.3f\n", double(lo), double(hi),
              sum / (double(kFogRows) * kFogColumns * 2));
}

int dump(const std::vector<std::string>& args) {
  std::vector<std::string> plain;
  std::string animsPath;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--anims" && i + 1 < args.size()) animsPath = args[++i];
    else if (args[i].rfind("--", 0) == 0) return usage();
    else plain.push_back(args[i]);
  }
  if (plain.empty() || plain.size() > 2) return usage();
  std::string bytes;
  if (!readAll(plain[0], bytes)) {
    std::cerr << "mapc: cannot read " << plain[0] << "\n";
    return 1;
  }
  MapStream s;
  s.OpenMemory(bytes.data(), bytes.size(), plain[0].c_str());
  MapFile map;
  if (!mapParse(s, map)) {
    std::cerr << "mapc: " << s.Error() << "\n";
    return 1;
  }
  std::vector<std::string> notes;
  std::string ini = mapDumpIni(map, animsPath.empty() ? std::vector<std::string>{} : animNamesFrom(animsPath), &notes);
  int otherBits = 0, seams = 0;
  for (const auto& row : map.grid.cells)
    for (uint8_t c : row) otherBits += (c & ~1u) != 0;
  for (int r = 0; r + 1 < kFogRows; ++r)
    for (int c = 0; c < kFogColumns; ++c) seams += map.fog.alpha[r][c][1] != map.fog.alpha[r + 1][c][0];
  if (otherBits) notes.push_back(std::to_string(otherBits) + " grid cells carry flag bits other than the obstacle bit");
  if (seams) notes.push_back(std::to_string(seams) + " fog cells differ from the row below at their shared vertex");
  for (const std::string& n : notes) std::cerr << "mapc: note: " << n << "\n";
  if (plain.size() == 1) {
    std::cout << ini << "\n";
    printSummary(map);
    return 0;
  }
  std::string error;
  fs::create_directories(plain[1]);
  if (!writeAll(plain[1] + "/map.ini", ini) || !mapGridToPng(map.grid, plain[1] + "/grid.png", &error) ||
      !mapFogToPng(map.fog, plain[1] + "/fog.png", &error)) {
    std::cerr << "mapc: " << (error.empty() ? "cannot write to " + plain[1] : error) << "\n";
    return 1;
  }
  std::cout << plain[1] << ": map.ini (" << map.objects.size() << " objects), grid.png, fog.png\n";
  return 0;
}
}  // namespace

// Which classes the compiler can write, and with which blocks of items.
int families() {
  for (const MapFamily* f : mapFamilies()) {
    std::string blocks;
    for (const MapExtension* b : f->blocks) blocks += (blocks.empty() ? "" : " + ") + std::string(b->name);
    std::printf("%-24s %-5s %-6s %s\n", f->className, f->arena ? "arena" : "heap", f->offersWork ? "work" : "",
                f->itemsKnown ? (std::to_string(f->ItemCount()) + " items" + (blocks.empty() ? "" : " (" + blocks + ")")).c_str()
                              : "items not known: refused");
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "families") == 0) return families();
  if (argc < 3) return usage();
  std::vector<std::string> args;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "-C") == 0 && i + 1 < argc) {
      if (chdir(argv[++i]) != 0) {
        std::cerr << "mapc: cannot enter " << argv[i] << "\n";
        return 1;
      }
    } else {
      args.push_back(argv[i]);
    }
  }
  std::string cmd = argv[1];
  if (cmd == "build") return build(args);
  if (cmd == "dump") return dump(args);
  return usage();
}

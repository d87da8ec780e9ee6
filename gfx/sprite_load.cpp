// Loading a sprite: finding its picture (and alpha picture), putting it into an exact texture or
// atlas tiles, composing frames from a picture-description file, and cutting frames.
#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>

#include "base/diag.h"
#include "files/file.h"
#include "files/name_hash.h"
#include "gfx/image.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "gfx/sprite_xml.h"
#include "platform/platform.h"

namespace {

bool IsPow2(int v) { return v >= 2 && (v & (v - 1)) == 0; }

int16_t Clamp16(long long v) { return int16_t(std::clamp<long long>(v, INT16_MIN, INT16_MAX)); }

std::string Extension(const std::string& name) {
  const size_t slash = name.find_last_of("/\\");
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string e = name.substr(dot + 1);
  for (char& c : e)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return e;
}

std::string Directory(const std::string& name) {
  const size_t slash = name.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

// The name as given (unless it is a "pvr" name), then with the extensions png, jpg and tga.
std::string FindPicture(const std::string& name) {
  const std::string ext = Extension(name);
  if (ext != "pvr" && fileExists(name)) return name;
  for (const char* e : {"png", "jpg", "tga"}) {
    if (ext == e) continue;
    std::string candidate = fileChangeExt(name, e);
    if (fileExists(candidate)) return candidate;
  }
  return "";
}

// Without a given alpha file: "_" + the picture's name with the extension "tga", same directory.
std::string DefaultAlphaName(const std::string& picture) {
  const std::string dir = Directory(picture);
  return dir + "_" + fileChangeExt(picture.substr(dir.size()), "tga");
}

void ReportMissing(const std::string& file) { errorLog("Sprite \"%s\": file not found\n", file.c_str()); }

// Writes a tile's picture region and its border texels into the tile's texture.
void UploadTile(const SpriteTile& tile, const cFileImage& picture, const cFileImage* alpha) {
  CBaseTexture* t = tile.texture;
  int pitch = 0;
  uint8_t* texels = t ? t->Lock(pitch) : nullptr;
  if (!texels) return;
  const int tw = tile.right - tile.left, th = tile.bottom - tile.top;
  // The border texels repeat the picture's neighbours where it has them, so filtering at a tile
  // edge blends with the right colours.
  const int sx = std::max(0, tile.x - tile.borderX), sy = std::max(0, tile.y - tile.borderY);
  const int ex = std::min(picture.Width(), tile.x + tw + tile.borderX);
  const int ey = std::min(picture.Height(), tile.y + th + tile.borderY);
  if (ex <= sx || ey <= sy) return;
  const int dx = tile.left - (tile.x - sx), dy = tile.top - (tile.y - sy);
  const int bpp = t->format->bytesPerPixel;
  TexelTarget dst{texels + size_t(dy) * pitch + size_t(dx) * bpp, pitch, t->format};
  picture.WriteColor(sx, sy, ex - sx, ey - sy, dst);
  if (t->format->HasAlpha()) {
    if (alpha) alpha->WriteAsAlpha(sx, sy, ex - sx, ey - sy, dst);
    else picture.WriteOwnAlpha(sx, sy, ex - sx, ey - sy, dst);
  }
  // Where the picture itself ends, the border repeats the edge texels: a scaled draw filters
  // across the tile's edge, and would otherwise blend in the empty page around it (thin dark
  // seams between repeated pieces at any scale but 1:1).
  const int padL = std::min(std::max(0, tile.borderX - tile.x), dx);
  const int padT = std::min(std::max(0, tile.borderY - tile.y), dy);
  const int w = ex - sx, h = ey - sy;
  const int padR = std::min(std::max(0, tile.x + tw + tile.borderX - picture.Width()), t->width - dx - w);
  const int padB = std::min(std::max(0, tile.y + th + tile.borderY - picture.Height()), t->height - dy - h);
  auto texel = [&](int x, int y) { return texels + size_t(y) * pitch + size_t(x) * bpp; };
  for (int y = dy; y < dy + h; ++y) {
    for (int k = 1; k <= padL; ++k) std::memcpy(texel(dx - k, y), texel(dx, y), size_t(bpp));
    for (int k = 0; k < padR; ++k) std::memcpy(texel(dx + w + k, y), texel(dx + w - 1, y), size_t(bpp));
  }
  const size_t rowBytes = size_t(padL + w + padR) * bpp;
  for (int k = 1; k <= padT; ++k) std::memcpy(texel(dx - padL, dy - k), texel(dx - padL, dy), rowBytes);
  for (int k = 0; k < padB; ++k) std::memcpy(texel(dx - padL, dy + h + k), texel(dx - padL, dy + h - 1), rowBytes);
  t->Unlock(dx - padL, dy - padT, padL + w + padR, padT + h + padB);
}

// Picture height / frames to the nearest integer, an exact half going to the even neighbour.
int FrameHeight(int ph, int n) {
  int fh = ph / n;
  const int r = ph % n;
  if (2 * r > n || (2 * r == n && (fh & 1))) ++fh;
  return std::max(fh, 1);
}

bool DeviceReady() { return grDevice() && grColorFormat() && grColorFormat()->IsSet(); }

const TexturePixelFormat* ChooseFormat(bool alpha, bool mask) {
  const TexturePixelFormat* order[3] = {grColorFormat(), grAlphaFormat(), grMaskFormat()};
  const TexturePixelFormat* want = alpha ? grAlphaFormat() : mask ? grMaskFormat() : grColorFormat();
  if (want && want->IsSet()) return want;
  // A device without the wanted format: anything with alpha keeps the transparency, else colour.
  for (const TexturePixelFormat* f : {order[1], order[2], order[0]})
    if (f && f->IsSet()) return f;
  return nullptr;
}

// One picture loaded into textures. `pieces` get the tiles (positions inside the picture).
struct Picture {
  int width = 0, height = 0;
  std::vector<SpriteTile> pieces;
};

enum class PictureLoad { Ok, Missing, Failed };

// Reads a picture with its alpha picture and uploads it; every failure leaves one gerr.log line.
// With `sizeOnly` (no device) only the size is read.
PictureLoad LoadPicture(const std::string& name, const std::string& alphaName, bool sizeOnly, Picture& out) {
  const std::string file = FindPicture(name);
  if (file.empty()) {
    ReportMissing(name);
    return PictureLoad::Missing;
  }
  auto picture = imgReaderFor(file);
  if (!picture) {
    errorLog("Sprite \"%s\": not a picture format\n", file.c_str());
    return PictureLoad::Failed;
  }
  if (sizeOnly) {
    int w = 0, h = 0;
    if (!picture->ReadSize(file.c_str(), w, h)) {
      errorLog("Sprite \"%s\": cannot read the picture size\n", file.c_str());
      return PictureLoad::Failed;
    }
    out.width = std::abs(w);
    out.height = std::abs(h);
    return out.width > 0 && out.height > 0 ? PictureLoad::Ok : PictureLoad::Failed;
  }
  if (picture->Load(file.c_str()) != 0) return PictureLoad::Failed;  // the reader wrote its own gerr.log line
  const int w = picture->Width(), h = picture->Height();
  std::unique_ptr<cFileImage> alpha;
  if (picture->BitsPerPixel() != 32) {
    const std::string alphaFile = alphaName.empty() ? DefaultAlphaName(file) : alphaName;
    if (fileExists(alphaFile)) {
      alpha = imgReaderFor(alphaFile);
      if (alpha && alpha->Load(alphaFile.c_str()) != 0) alpha.reset();
      if (alpha && (alpha->Width() != w || alpha->Height() != h)) {
        errorLog("Sprite \"%s\": size of texture != size of alpha \"%s\"\n", file.c_str(), alphaFile.c_str());
        platMessageBox(file, "size of texture != size of alpha");
        alpha.reset();
      }
    } else if (!alphaName.empty()) {
      errorLog("Sprite \"%s\": alpha picture \"%s\" not found\n", file.c_str(), alphaFile.c_str());
    }
  }
  const bool hasAlpha = alpha || picture->BitsPerPixel() == 32;
  const TexturePixelFormat* format = ChooseFormat(hasAlpha, picture->FlagsAnd(cFileImage::kOwnTransparency) != 0);
  if (!format) {
    errorLog("Sprite \"%s\": the device offers no texture format for it\n", file.c_str());
    return PictureLoad::Failed;
  }
  if (format->bytesPerPixel < 3) picture->Dither(format->bits[2], format->bits[1], format->bits[0]);
  out.width = w;
  out.height = h;
  if (IsPow2(w) && IsPow2(h) && txSizeAllowed(w, h) && w <= txPageSize() && h <= txPageSize()) {
    // Named after the file, and after the alpha file when one is given, so that the same picture
    // with another alpha picture does not share these texels.
    const std::string texName = alphaName.empty() ? file : file + "|" + alphaName;
    if (CRegularTexture* t = txGetOrCreate(texName, w, h, format, false)) {
      SpriteTile tile;
      tile.right = int16_t(w);
      tile.bottom = int16_t(h);
      tile.texture = t;
      out.pieces.push_back(tile);
    }
  } else {
    txPlaceInAtlas(format, 0, 0, w, h, 1, 1, out.pieces);
  }
  for (const SpriteTile& tile : out.pieces) UploadTile(tile, *picture, alpha.get());
  for (const SpriteTile& tile : out.pieces)
    if (tile.texture) tile.texture->MarkLoaded();
  return PictureLoad::Ok;
}

// The source picture named by the eleventh attribute of a part.
std::string PartSource(const std::string& spriteFile, const std::string& attr) {
  if (!attr.empty() && attr[0] == '@') {
    std::string name = Directory(spriteFile) + attr.substr(1);
    for (char& c : name)
      if (c == '\\') c = '/';
    return name;
  }
  const int n = std::atoi(attr.c_str());
  if (n <= 0) return spriteFile;
  const std::string ext = Extension(spriteFile);
  const std::string stem = ext.empty() ? spriteFile : spriteFile.substr(0, spriteFile.size() - ext.size() - 1);
  std::string name = stem + "_" + char('0' + (n / 10) % 10) + char('0' + n % 10);
  return ext.empty() ? name : name + "." + ext;
}

// Reads and parses the picture-description file; false (with one gerr.log line for a broken one)
// when there is none to use.
bool ReadDescription(const std::string& spriteFile, gXmlNode& root) {
  const std::string ext = Extension(spriteFile);
  if (ext == "jpg" || ext == "pvr") return false;
  const std::string xml = fileChangeExt(spriteFile, "xml");
  void* data = nullptr;
  const size_t n = fileLoad(xml, &data);
  if (!n || !data) return false;
  size_t offset = 0;
  const char* why = nullptr;
  const bool ok = xmlParse(static_cast<const char*>(data), n, root, offset, why);
  memFree(data);
  if (!ok) errorLog("Sprite description \"%s\": %s at offset %zu; the picture is used instead\n", xml.c_str(), why,
                    offset);
  return ok;
}

}  // namespace

// Everything that fills a sprite's tiles; a friend of the sprite.
struct SpriteLoader {
  static bool Plain(CBaseSprite& s, bool sizeOnly) {
    Picture pic;
    const PictureLoad r = LoadPicture(s.fileName, s.alphaFileName, sizeOnly, pic);
    if (r == PictureLoad::Missing) platMessageBox(s.fileName, "file not found");
    if (r != PictureLoad::Ok) return false;
    s.pictureWidth = s.width = Clamp16(pic.width);
    s.pictureHeight = s.height = Clamp16(pic.height);
    s.pieces = std::move(pic.pieces);
    if (!sizeOnly) s.frames.assign(1, s.pieces);
    return true;
  }

  // Frames composed of parts of pictures: the root's fourth attribute is the steps per frame, each
  // child a frame, each grandchild a part of eleven attributes.
  static bool Composed(CBaseSprite& s, const gXmlNode& root, bool sizeOnly) {
    const int count = int(root.children.size());
    if (s.animationSteps < 0) {
      const long long steps = (long long)root.Int(4) * count;
      s.animationSteps = int(std::clamp<long long>(steps, 0, INT_MAX));
    }
    s.lookupSteps = uint16_t(std::clamp(s.animationSteps, 0, 65535));
    s.frameCount = count;
    s.composed = true;
    s.width = s.height = 0;
    if (!sizeOnly) s.frames.assign(size_t(count), {});
    std::map<std::string, Picture> sources;  // by folded name
    bool reported = false;
    for (int k = 0; k < count; ++k) {
      for (const gXmlNode& part : root.children[size_t(k)].children) {
        if (part.attributes.size() < 11) {
          if (!reported)
            errorLog("Sprite description \"%s\": a part of frame %d has %zu attributes, 11 needed\n",
                     fileChangeExt(s.fileName, "xml").c_str(), k, part.attributes.size());
          reported = true;
          continue;
        }
        if (s.width == 0) s.width = Clamp16(std::max(0, part.Int(9)));
        if (s.height == 0) s.height = Clamp16(std::max(0, part.Int(10)));
        if (sizeOnly) continue;
        const std::string source = PartSource(s.fileName, *part.Attr(11));
        const std::string key = fileFoldName(source);
        auto it = sources.find(key);
        if (it == sources.end()) {
          Picture pic;
          // The picture of the sprite itself keeps its alpha file; others take their default one.
          const std::string alpha = source == s.fileName ? s.alphaFileName : std::string();
          if (LoadPicture(source, alpha, false, pic) != PictureLoad::Ok) {
            platMessageBox(s.fileName, "file not found");
            pic = Picture{};
          }
          for (SpriteTile& t : pic.pieces) s.pieces.push_back(t);
          it = sources.emplace(key, std::move(pic)).first;
        }
        AddPart(s.frames[size_t(k)], it->second, part);
      }
    }
    s.pictureWidth = s.width;
    s.pictureHeight = s.height;
    return true;
  }

  // Maps the part's source rectangle onto the pieces of its picture: one tile per overlap.
  static void AddPart(std::vector<SpriteTile>& row, const Picture& pic, const gXmlNode& part) {
    const long long sx = part.Int(2), sy = part.Int(3), w = part.Int(4), h = part.Int(5);
    const long long fx = part.Int(7), fy = part.Int(8);
    const long long aw = w < 0 ? -w : w, ah = h < 0 ? -h : h;
    for (const SpriteTile& p : pic.pieces) {
      const long long pw = p.right - p.left, ph = p.bottom - p.top;
      const long long x0 = std::max<long long>(sx, p.x), x1 = std::min<long long>(sx + aw, p.x + pw);
      const long long y0 = std::max<long long>(sy, p.y), y1 = std::min<long long>(sy + ah, p.y + ph);
      if (x0 >= x1 || y0 >= y1) continue;
      SpriteTile t;
      t.texture = p.texture;
      t.borderX = p.borderX;
      t.borderY = p.borderY;
      t.mirrorX = w < 0;
      t.mirrorY = h < 0;
      t.left = Clamp16(p.left + (x0 - p.x));
      t.right = Clamp16(t.left + (x1 - x0));
      t.top = Clamp16(p.top + (y0 - p.y));
      t.bottom = Clamp16(t.top + (y1 - y0));
      // A mirrored part puts its source's first column at the far side of its place in the frame.
      t.x = Clamp16(w < 0 ? fx + (sx + aw - x1) : fx + (x0 - sx));
      t.y = Clamp16(h < 0 ? fy + (sy + ah - y1) : fy + (y0 - sy));
      row.push_back(t);
    }
  }
};

CBaseSprite::CBaseSprite(std::string file, std::string alpha)
    : fileName(std::move(file)), alphaFileName(std::move(alpha)), nameHash(fileNameHash(fileName)) {}

CBaseSprite::~CBaseSprite() { CBaseSprite::ReleaseTextures(); }

void CBaseSprite::ReleaseTextures() {
  frames.clear();
  for (SpriteTile& tile : pieces) txReleaseTile(tile);
  pieces.clear();
  loaded = false;
}

bool CBaseSprite::Load() {
  if (loaded) return true;
  if (!LoadQuality(quality)) return false;
  if (loaded && !composed && animationSteps >= 0 && frameCount > 0) SplitFrames(frameCount);
  return true;
}

bool CBaseSprite::LoadQuality(int q) {
  quality = sprQualityFor(nameHash, q);
  ReleaseTextures();
  if (blank) {
    // Nothing to read: one empty tile the size of the sprite, filled by its owner.
    SpriteTile tile;
    tile.right = width;
    tile.bottom = height;
    frames.assign(1, {tile});
    loaded = true;
    return true;
  }
  const bool sizeOnly = !DeviceReady();
  gXmlNode root;
  bool ok;
  if (ReadDescription(fileName, root)) {
    ok = SpriteLoader::Composed(*this, root, sizeOnly);
  } else {
    composed = false;
    ok = SpriteLoader::Plain(*this, sizeOnly);
  }
  if (!ok) {
    ReleaseTextures();
    width = height = pictureWidth = pictureHeight = 0;
    return false;
  }
  loaded = !sizeOnly;
  if (sizeOnly && !composed && frameCount > 0) height = int16_t(FrameHeight(pictureHeight, frameCount));
  return true;
}

void CBaseSprite::SetBlankTexture(CBaseTexture* texture, int left, int top) {
  if (!blank) return;
  for (SpriteTile& tile : pieces) txReleaseTile(tile);
  pieces.clear();
  SpriteTile tile;
  tile.left = int16_t(left);
  tile.top = int16_t(top);
  tile.right = int16_t(left + width);
  tile.bottom = int16_t(top + height);
  tile.texture = texture;
  if (texture) {
    texture->AddRef();
    pieces.push_back(tile);
  }
  frames.assign(1, {tile});
  loaded = true;
}

void CBaseSprite::SetAnimation(int steps, int count) {
  animationSteps = steps;
  frameCount = count;
  lookupSteps = uint16_t(std::clamp(steps, 0, 65535));
  if (!loaded) {
    Load();  // splits on its own
    return;
  }
  if (!composed && count > 0) SplitFrames(count);
}

void CBaseSprite::SplitFrames(int n) {
  if (n < 1 || pictureHeight <= 0) return;
  const int ph = pictureHeight;
  const int fh = FrameHeight(ph, n);
  std::vector<std::vector<SpriteTile>> rows(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) {
    const long long b0 = (long long)k * fh, b1 = std::min<long long>((long long)(k + 1) * fh, ph);
    if (b0 >= b1) continue;
    for (const SpriteTile& t : pieces) {
      const long long th = t.bottom - t.top;
      const long long y0 = std::max<long long>(t.y, b0), y1 = std::min<long long>(t.y + th, b1);
      if (y0 >= y1) continue;
      SpriteTile c = t;
      c.y = int16_t(y0 - b0);
      c.top = int16_t(t.top + (y0 - t.y));
      c.bottom = int16_t(c.top + (y1 - y0));
      rows[size_t(k)].push_back(c);
    }
  }
  frames = std::move(rows);
  height = int16_t(fh);
}

int CBaseSprite::FrameRow(int frame) const {
  const long long s = lookupSteps, n = Rows();
  if (s == 0 || n == 0) return 0;
  const long long f = frame < 0 ? -(long long)frame : frame;
  return int(std::min(n - 1, (f % s) * n / s));
}

bool CBaseSprite::FirstTextureHasAlpha() const {
  if (frames.empty() || frames[0].empty() || !frames[0][0].texture || !frames[0][0].texture->format) return false;
  return frames[0][0].texture->format->HasAlpha();
}

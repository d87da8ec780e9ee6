// The OpenGL device: a 3.3 core context (2.1 as a fallback is not needed on the machines we know)
// made on the game window. One shader emulates the two texture-stage operations, the specular add
// and the alpha test of the fixed-function pipeline the renderer's render modes describe.
// Built with MM_GLES it asks for OpenGL ES 3.0 instead (WebGL 2 in a browser): the same shaders in
// the "300 es" dialect, and the vertex colours' byte order put right in the shader, since ES reads
// no BGRA attributes.
#include <SDL.h>
#if MM_GLES
#include <GLES3/gl3.h>
#else
#include <SDL_opengl.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/gpu.h"
#include "platform/platform.h"
#include "platform/sdl_window.h"

namespace {

#define MM_GL_FUNCS(X)                                                              \
  X(PFNGLCREATESHADERPROC, glCreateShader)                                          \
  X(PFNGLSHADERSOURCEPROC, glShaderSource)                                          \
  X(PFNGLCOMPILESHADERPROC, glCompileShader)                                        \
  X(PFNGLGETSHADERIVPROC, glGetShaderiv)                                            \
  X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                                  \
  X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                                        \
  X(PFNGLATTACHSHADERPROC, glAttachShader)                                          \
  X(PFNGLLINKPROGRAMPROC, glLinkProgram)                                            \
  X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                                          \
  X(PFNGLUSEPROGRAMPROC, glUseProgram)                                              \
  X(PFNGLDELETESHADERPROC, glDeleteShader)                                          \
  X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                                        \
  X(PFNGLBINDATTRIBLOCATIONPROC, glBindAttribLocation)                              \
  X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                              \
  X(PFNGLUNIFORM1IPROC, glUniform1i)                                                \
  X(PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv)                                  \
  X(PFNGLGENBUFFERSPROC, glGenBuffers)                                              \
  X(PFNGLBINDBUFFERPROC, glBindBuffer)                                              \
  X(PFNGLBUFFERDATAPROC, glBufferData)                                              \
  X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                                        \
  X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays)                                    \
  X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray)                                    \
  X(PFNGLDELETEVERTEXARRAYSPROC, glDeleteVertexArrays)                              \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)                    \
  X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)                            \
  X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                                        \
  X(PFNGLBLENDFUNCSEPARATEPROC, glBlendFuncSeparate)                                \
  X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)                                    \
  X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)                                    \
  X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)                              \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer)                    \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus)                      \
  X(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers)                                  \
  X(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer)                                  \
  X(PFNGLDELETERENDERBUFFERSPROC, glDeleteRenderbuffers)                            \
  X(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage)                            \
  X(PFNGLBLITFRAMEBUFFERPROC, glBlitFramebuffer)

struct GlFuncs {
#define MM_DECL(type, name) type name = nullptr;
  MM_GL_FUNCS(MM_DECL)
#undef MM_DECL
  bool Load() {
    bool ok = true;
#ifdef __EMSCRIPTEN__
    // WebGL's functions are linked in; the browser has no procedure addresses to look up.
#define MM_LOAD(type, name) name = &::name;
#else
#define MM_LOAD(type, name)                                           \
  name = reinterpret_cast<type>(SDL_GL_GetProcAddress(#name));        \
  if (!name) ok = false;
#endif
    MM_GL_FUNCS(MM_LOAD)
#undef MM_LOAD
    return ok;
  }
};

#if MM_GLES
#define MM_GLSL_HEAD "#version 300 es\nprecision highp float;\n"
// The ARGB words arrive as bytes B, G, R, A: read as RGBA, red and blue trade places.
#define MM_VERTEX_COLOUR(name) name ".bgra"
#else
#define MM_GLSL_HEAD "#version 330 core\n"
#define MM_VERTEX_COLOUR(name) name
#endif

const char* kVertexShader = MM_GLSL_HEAD R"(in vec3 aPos;
in vec4 aDiffuse;
in vec4 aSpecular;
in vec2 aUv;
uniform mat4 uMatrix;
out vec4 vDiffuse;
out vec4 vSpecular;
out vec2 vUv;
void main() {
  gl_Position = vec4(aPos, 1.0) * uMatrix;
  vDiffuse = )" MM_VERTEX_COLOUR("aDiffuse") R"(;
  vSpecular = )" MM_VERTEX_COLOUR("aSpecular") R"(;
  vUv = aUv;
}
)";

// Operations: 1 disable, 2 texture, 3 vertex colour, 4 texture x vertex, 7 texture + vertex. With no
// texture bound the texture argument is white, so textured modes still show the vertex colour.
const char* kFragmentShader = MM_GLSL_HEAD R"(in vec4 vDiffuse;
in vec4 vSpecular;
in vec2 vUv;
uniform sampler2D uTex;
uniform int uHasTex;
uniform int uColorOp;
uniform int uAlphaOp;
uniform int uAlphaTest;
out vec4 fragColor;
vec4 stageOp(int op, vec4 t, vec4 d) {
  if (op == 2) return t;
  if (op == 4) return t * d;
  if (op == 7) return min(t + d, vec4(1.0));
  return d;
}
void main() {
  vec4 t = uHasTex != 0 ? texture(uTex, vUv) : vec4(1.0);
  vec4 c = stageOp(uColorOp, t, vDiffuse);
  vec4 a = stageOp(uAlphaOp, t, vDiffuse);
  vec4 r = vec4(min(c.rgb + vSpecular.rgb, vec3(1.0)), a.a);
  if (uAlphaTest != 0 && r.a <= 1.0 / 255.0 + 0.0001) discard;
  fragColor = r;
}
)";

GLenum BlendFactor(uint8_t f) {
  switch (f) {
    case 1: return GL_ZERO;
    case 2: return GL_ONE;
    case 3: return GL_SRC_COLOR;
    case 4: return GL_ONE_MINUS_SRC_COLOR;
    case 5: return GL_SRC_ALPHA;
    case 6: return GL_ONE_MINUS_SRC_ALPHA;
    case 7: return GL_DST_ALPHA;
    case 8: return GL_ONE_MINUS_DST_ALPHA;
    case 9: return GL_DST_COLOR;
    case 10: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
  }
}

class GlDevice : public PlatGpu {
 public:
  bool Init() {
    SDL_Window* w = platSdlWindow();
    if (!w || !(SDL_GetWindowFlags(w) & SDL_WINDOW_OPENGL)) return false;
#if MM_GLES
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
#else
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
#endif
    ctx_ = SDL_GL_CreateContext(w);
    if (!ctx_) {
      std::fprintf(stderr, "OpenGL context: %s\n", SDL_GetError());
      return false;
    }
    window_ = w;
    SDL_GL_MakeCurrent(w, ctx_);
    // Wait for the display: adaptive sync where the driver has it, else plain vsync. A driver that
    // gives neither leaves the pace to the main loop's frame cap.
#ifdef __EMSCRIPTEN__
    // The browser runs each frame at the display's refresh (its animation frames) by itself.
    platSetVsync(true);
#else
    platSetVsync(SDL_GL_SetSwapInterval(-1) == 0 || SDL_GL_SetSwapInterval(1) == 0);
#endif
    if (!gl_.Load() || !BuildProgram()) return false;
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    platSetGpuIsSoftware(renderer && (std::strstr(renderer, "llvmpipe") || std::strstr(renderer, "softpipe") ||
                                      std::strstr(renderer, "swrast") || std::strstr(renderer, "Software")));
    GLint maxTex = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTex);
    maxTexture_ = maxTex;
    gl_.glGenVertexArrays(1, &vao_);
    gl_.glBindVertexArray(vao_);
    gl_.glGenBuffers(1, &vbo_);
    gl_.glGenBuffers(1, &ibo_);
    gl_.glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    gl_.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    const auto stride = GLsizei(sizeof(GpuVertex));
    gl_.glEnableVertexAttribArray(0);
    gl_.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, x)));
    // ARGB little-endian words are B, G, R, A in memory: read as BGRA so red and blue stay put
    // (OpenGL ES reads them as RGBA and its shader swaps them).
#if MM_GLES
    const GLint colourSize = 4;
#else
    const GLint colourSize = GL_BGRA;
#endif
    gl_.glEnableVertexAttribArray(1);
    gl_.glVertexAttribPointer(1, colourSize, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, diffuse)));
    gl_.glEnableVertexAttribArray(2);
    gl_.glVertexAttribPointer(2, colourSize, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, specular)));
    gl_.glEnableVertexAttribArray(3);
    gl_.glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, u)));
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    return true;
  }

  ~GlDevice() override {
    if (!ctx_) return;
    platSetVsync(false);
    platSetGpuIsSoftware(false);
    SDL_GL_MakeCurrent(window_, ctx_);
    if (gl_.glDeleteProgram && program_) gl_.glDeleteProgram(program_);
    if (gl_.glDeleteBuffers) {
      if (vbo_) gl_.glDeleteBuffers(1, &vbo_);
      if (ibo_) gl_.glDeleteBuffers(1, &ibo_);
    }
    if (gl_.glDeleteVertexArrays && vao_) gl_.glDeleteVertexArrays(1, &vao_);
    if (gl_.glDeleteFramebuffers && fbo_) gl_.glDeleteFramebuffers(1, &fbo_);
    if (gl_.glDeleteRenderbuffers && rbo_) gl_.glDeleteRenderbuffers(1, &rbo_);
    SDL_GL_DeleteContext(ctx_);
  }

  bool IsReal() const override { return true; }
  bool IsUsable() override { return !(SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED); }
  int MaxTextureSize() const override { return maxTexture_; }
  void DrawableSize(int& w, int& h) override { SDL_GL_GetDrawableSize(window_, &w, &h); }
  void BeginFrame() override {
    SDL_GL_MakeCurrent(window_, ctx_);
    gl_.glUseProgram(program_);
    gl_.glBindVertexArray(vao_);
    gl_.glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    gl_.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    DrawableSize(bbw_, bbh_);
    EnsureTarget();
  }
  void Clear(uint32_t argb) override {
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(((argb >> 16) & 255) / 255.f, ((argb >> 8) & 255) / 255.f, (argb & 255) / 255.f, (argb >> 24) / 255.f);
    glClear(GL_COLOR_BUFFER_BIT);
    ApplyMask();
  }
  void SetViewport(int x, int y, int w, int h) override {
    glViewport(x, bbh_ - y - h, w, h);
    // Primitives beyond the clip rectangle must not spill, whatever the transform.
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, bbh_ - y - h, w, h);
  }
  void SetMatrix(const float m[16]) override {
    // Our matrices are row-major for row vectors; GL reads column-major, hence the transpose flag,
    // and the shader multiplies `v * M` as we do.
    gl_.glUniformMatrix4fv(uMatrix_, 1, GL_TRUE, m);
  }
  void SetState(const GpuState& s) override {
    gl_.glUniform1i(uColorOp_, s.colorOp);
    gl_.glUniform1i(uAlphaOp_, s.alphaOp);
    gl_.glUniform1i(uAlphaTest_, s.alphaTest ? 1 : 0);
    if (s.blend) {
      glEnable(GL_BLEND);
      gl_.glBlendFuncSeparate(BlendFactor(s.srcBlend), BlendFactor(s.dstBlend), BlendFactor(s.srcBlend), BlendFactor(s.dstBlend));
    } else {
      glDisable(GL_BLEND);
    }
    mask_ = s.writeMask;
    ApplyMask();
  }
  void SetTexture(GpuTexture t) override {
    gl_.glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, t);
    gl_.glUniform1i(uHasTex_, t ? 1 : 0);
  }
  void Draw(GpuPrim prim, const GpuVertex* v, int count, const uint16_t* indices, int indexCount) override {
    if (count <= 0) return;
    gl_.glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(count * sizeof(GpuVertex)), v, GL_STREAM_DRAW);
    GLenum mode = GL_TRIANGLES;
    switch (prim) {
      case GpuPrim::LineList: mode = GL_LINES; break;
      case GpuPrim::LineStrip: mode = GL_LINE_STRIP; break;
      case GpuPrim::TriangleList: mode = GL_TRIANGLES; break;
      case GpuPrim::TriangleStrip: mode = GL_TRIANGLE_STRIP; break;
    }
    if (indices && indexCount > 0) {
      gl_.glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexCount * sizeof(uint16_t)), indices, GL_STREAM_DRAW);
      glDrawElements(mode, indexCount, GL_UNSIGNED_SHORT, nullptr);
    } else {
      glDrawArrays(mode, 0, count);
    }
  }
  // Frames are drawn into our own target of the drawable's size and copied to the window here,
  // so the frame can be read back at any time and a window surface that does not follow a resize
  // (the offscreen driver's) never cuts the picture.
  void Present() override {
    gl_.glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    gl_.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    gl_.glBlitFramebuffer(0, 0, fboW_, fboH_, 0, 0, fboW_, fboH_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    SDL_GL_SwapWindow(window_);
    platCountPresent();
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  }
  GpuTexture CreateTexture(int w, int h) override {
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    return t;
  }
  void UploadTexture(GpuTexture t, int x, int y, int w, int h, const uint8_t* rgba) override {
    glBindTexture(GL_TEXTURE_2D, t);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  }
  void DeleteTexture(GpuTexture t) override {
    GLuint id = t;
    if (id) glDeleteTextures(1, &id);
  }
  bool ReadPixels(int x, int y, int w, int h, std::vector<uint8_t>& rgba) override {
    if (w <= 0 || h <= 0) return false;
    gl_.glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glFinish();
    std::vector<uint8_t> up(size_t(w) * h * 4);
    glReadPixels(x, bbh_ - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, up.data());
    rgba.resize(up.size());
    const size_t row = size_t(w) * 4;
    for (int r = 0; r < h; ++r) std::memcpy(&rgba[size_t(r) * row], &up[size_t(h - 1 - r) * row], row);
    return true;
  }

 private:
  void EnsureTarget() {
    if (fbo_ && fboW_ == bbw_ && fboH_ == bbh_) {
      gl_.glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
      return;
    }
    if (!fbo_) {
      gl_.glGenFramebuffers(1, &fbo_);
      gl_.glGenRenderbuffers(1, &rbo_);
    }
    gl_.glBindRenderbuffer(GL_RENDERBUFFER, rbo_);
    gl_.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, std::max(1, bbw_), std::max(1, bbh_));
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    gl_.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rbo_);
    fboW_ = bbw_;
    fboH_ = bbh_;
  }
  void ApplyMask() {
    glColorMask((mask_ & 1) != 0, (mask_ & 2) != 0, (mask_ & 4) != 0, (mask_ & 8) != 0);
  }
  GLuint Compile(GLenum kind, const char* src) {
    GLuint s = gl_.glCreateShader(kind);
    gl_.glShaderSource(s, 1, &src, nullptr);
    gl_.glCompileShader(s);
    GLint ok = 0;
    gl_.glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
      char log[1024] = {};
      gl_.glGetShaderInfoLog(s, sizeof log - 1, nullptr, log);
      std::fprintf(stderr, "OpenGL shader: %s\n", log);
      gl_.glDeleteShader(s);
      return 0;
    }
    return s;
  }
  bool BuildProgram() {
    GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader);
    GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    if (!vs || !fs) return false;
    program_ = gl_.glCreateProgram();
    gl_.glAttachShader(program_, vs);
    gl_.glAttachShader(program_, fs);
    gl_.glBindAttribLocation(program_, 0, "aPos");
    gl_.glBindAttribLocation(program_, 1, "aDiffuse");
    gl_.glBindAttribLocation(program_, 2, "aSpecular");
    gl_.glBindAttribLocation(program_, 3, "aUv");
    gl_.glLinkProgram(program_);
    gl_.glDeleteShader(vs);
    gl_.glDeleteShader(fs);
    GLint ok = 0;
    gl_.glGetProgramiv(program_, GL_LINK_STATUS, &ok);
    if (!ok) return false;
    gl_.glUseProgram(program_);
    uMatrix_ = gl_.glGetUniformLocation(program_, "uMatrix");
    uHasTex_ = gl_.glGetUniformLocation(program_, "uHasTex");
    uColorOp_ = gl_.glGetUniformLocation(program_, "uColorOp");
    uAlphaOp_ = gl_.glGetUniformLocation(program_, "uAlphaOp");
    uAlphaTest_ = gl_.glGetUniformLocation(program_, "uAlphaTest");
    gl_.glUniform1i(gl_.glGetUniformLocation(program_, "uTex"), 0);
    return true;
  }

  SDL_Window* window_ = nullptr;
  SDL_GLContext ctx_ = nullptr;
  GlFuncs gl_;
  GLuint program_ = 0, vao_ = 0, vbo_ = 0, ibo_ = 0, fbo_ = 0, rbo_ = 0;
  int fboW_ = 0, fboH_ = 0;
  GLint uMatrix_ = -1, uHasTex_ = -1, uColorOp_ = -1, uAlphaOp_ = -1, uAlphaTest_ = -1;
  int maxTexture_ = 0, bbw_ = 0, bbh_ = 0;
  uint8_t mask_ = 15;
};

}  // namespace

std::unique_ptr<PlatGpu> platGpuCreateGL() {
  if (platMode() == PlatMode::HeadlessNull) return nullptr;
  auto d = std::make_unique<GlDevice>();
  if (!d->Init()) return nullptr;
  return d;
}

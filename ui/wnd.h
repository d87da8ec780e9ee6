// The window tree: UIWnd, the base of every window, with its children, focus, effects,
// definitions read from INI sections, and the input hook list the shell offers input through.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class CSprite;

struct UIEffect {
  uint8_t type = 0;
  int32_t period = 1000;
  int32_t start = 0;
  int16_t x = 0, y = 0;
  float rotate = 0.0f;
  float scale = 1.0f;
};

class UIWnd {
 public:
  static constexpr int kMaxChildren = 127;
  enum State : uint8_t { Ignore = 0, Normal = 1, Active = 2, Press = 3 };

  UIWnd();
  virtual ~UIWnd();
  UIWnd(const UIWnd&) = delete;
  UIWnd& operator=(const UIWnd&) = delete;

  virtual void Load(const char* file, const char* section);
  virtual void LoadDef(const char* file, const char* section, bool reload);
  virtual int KeyDown(int code, int value);
  virtual int KeyUp(int code, int value);
  virtual int Char(int code, int value);
  virtual void MoveBy(int dx, int dy);
  virtual int MouseMove(int buttons, int value);
  virtual int Start(int a, int b, int c);
  virtual int OnCommand(UIWnd* source);
  virtual int OnNotify(UIWnd* source, int message);
  virtual void OnFocusChanged();
  virtual void Reload(int arg);
  virtual int Update(int dt);
  virtual int Draw();
  // False when the list is full (127 children); the child is then destroyed, as it would have
  // been owned by this window.
  virtual bool AddChild(UIWnd* child);
  virtual void RemoveChild(UIWnd* child);
  virtual void Refresh();
  virtual bool HitTest(int x, int y) const;
  virtual void SetValue(float) {}
  virtual float GetValue() const { return 0.0f; }
  virtual void SetState(int s);
  virtual void Hook(int) {}
  virtual void SetPos(int x, int y);
  virtual int Wheel(float delta, int code, int value);

  int ChildCount() const { return childCount_; }
  UIWnd* Child(int i) const { return i >= 0 && i < childCount_ ? children_[i] : nullptr; }
  UIWnd* Parent() const { return parent_; }
  UIWnd* FindChild(const char* name) const;
  int ActiveIndex() const { return active_; }
  UIWnd* ActiveChild() const { return Child(active_); }
  void SelectChild(int index, int direction);
  void TrackMouse(int value);
  // The stricter hover rule of mouse-test containers and menu screens: the first open child under
  // the mouse becomes active, none when there is none, and whatever the mouse has left goes back
  // to normal. True when the active child changed.
  bool TrackHover(int value);
  void GrabInput();
  void ReleaseInput();
  void PlayTransitionSound(int from, int to);
  void SetCaption(const std::u16string& text) { caption_ = text; }
  void SetCaptionUtf8(const char* text);
  void SetCaptionF(const char* format, ...) __attribute__((format(printf, 2, 3)));
  const std::u16string& Caption() const { return caption_; }
  void SetColour(uint32_t argb);
  void SetAlpha(uint8_t a);
  uint32_t Colour() const { return colour_; }
  const char* Name() const { return name_; }
  void SetName(const char* name);
  int State() const { return state_; }
  bool Hidden() const { return flags_ & 1; }
  void SetHidden(bool h) { flags_ = uint8_t(h ? flags_ | 1 : flags_ & ~1); }
  int X() const { return x_; }
  int Y() const { return y_; }
  int Width() const { return xs_; }
  int Height() const { return ys_; }
  void SetSize(int xs, int ys) { xs_ = int16_t(xs); ys_ = int16_t(ys); }
  int32_t Age() const { return age_; }
  int HomeX() const { return homeX_; }
  int HomeY() const { return homeY_; }
  int XAlign() const { return xalign_; }
  int YAlign() const { return yalign_; }
  // Stores a state without a sound or a focus change (creation from a definition); values past
  // the four states are clamped.
  void InitState(int s) { state_ = uint8_t(s < Ignore ? Ignore : s > Press ? Press : s); }
  // The font colour variant offset ("select", 0 to 3).
  int Select() const { return (flags_ >> 1) & 3; }
  void SetSelect(int s) { flags_ = uint8_t((flags_ & ~6) | ((s & 3) << 1)); }
  bool Marked() const { return flags_ & 8; }
  CSprite* Image(int i) const { return i >= 0 && i < 12 ? images_[i] : nullptr; }
  // The picture of the current state (states past press have none).
  CSprite* StateImage() const { return state_ < 4 ? images_[state_] : nullptr; }
  CSprite* Font() const { return font_; }
  // Releases the current font and takes the named one (nothing for an empty name).
  void SetFont(const char* name);
  // Takes another reference on a font already loaded (null leaves the window without one).
  void ShareFont(CSprite* font);
  const std::string& DefFile() const { return defFile_; }
  const std::string& DefSection() const { return defSection_; }
  UIEffect* Effect() const { return effect_.get(); }
  void SetEffect(const UIEffect& e) { effect_ = std::make_unique<UIEffect>(e); }
  // The effect's gate and transform (exposed for subclasses and tests).
  bool EffectBlocksInput() const;
  bool EffectTransform(float m[16]) const;

 protected:
  std::u16string caption_;
  std::string defFile_, defSection_;
  UIWnd* parent_ = nullptr;
  UIWnd* children_[kMaxChildren + 1] = {};
  int childCount_ = 0;
  char name_[24] = {};
  int8_t active_ = -1;
  int16_t x_ = 0, y_ = 0, homeX_ = 0, homeY_ = 0, xs_ = 0, ys_ = 0;
  uint8_t state_ = Normal;
  int8_t xalign_ = 0, yalign_ = 0;
  uint8_t flip_ = 0;
  CSprite* images_[12] = {};
  CSprite* font_ = nullptr;
  int32_t age_ = 0;
  char sndNormalActive_[16] = {}, sndActivePress_[16] = {};
  uint8_t flags_ = 0;
  uint32_t colour_ = 0xFFFFFFFFu;
  std::unique_ptr<UIEffect> effect_;

  void DestroyChild(UIWnd* child);
  // Edit mode: marking with a click, moving and sizing with the arrows or dragging with the
  // mouse, F2 to save.
  int EditKey(int code, int value);

 public:
  // Edit mode: moves every marked window of this subtree by (dx, dy); true when one moved.
  bool EditDrag(int dx, int dy);
};

// The root of the tree (update, draw and input root together).
UIWnd* wndRoot();
void wndSetRoot(UIWnd* root);
// Destroys windows removed while handlers may still be running on them; the shell calls it
// after each update step, when no window code is on the stack.
void wndCollectGarbage();
int wndPendingDestruction();
// Called with each window as its destruction begins (one hook, null for none), so windows that
// refer to others they do not own (the layouts) can forget them.
void wndSetDestroyHook(void (*hook)(UIWnd*));
// The input hook list: windows that see input before the tree (modal dialogs).
void wndHookAdd(UIWnd* w);
void wndHookRemove(UIWnd* w);
// Offers input to the hooks, then to the root.
int wndOfferKeyDown(int code, int value);
int wndOfferKeyUp(int code, int value);
int wndOfferChar(int code, int value);
int wndOfferMouseMove(int buttons, int value);
int wndOfferWheel(float delta, int code, int value);
// Debug switches: draw every window's rectangle; edit mode.
extern bool g_wndBounds;
extern bool g_wndEdit;
// Edit mode: true from a left-button drag that moved marked windows until the next press, so the
// release that ends the drag does not also unmark them.
bool wndEditDragged();

// The dialogs of the menus: a window that darkens the screen, fades its content in, answers Enter
// and Escape with its buttons, fades out and then tells the screen that opened it which button
// closed it; the yes/no question and the message box built from "data/menu/dialog.ini"; and the
// holder a screen keeps for the one dialog it may show over itself.
#pragma once
#include <string>

#include "ui/widget_sprite.h"

namespace Menu {

// A float that moves linearly to its target in a given time.
struct DialogFade {
  float value = 0.0f;
  float target = 0.0f;
  float step = 0.0f;  // per millisecond, always positive
  void MoveTo(float to, int ms);
  // Advances by `dt` ms; true once the value stands at its target.
  bool Advance(int dt);
  bool Done() const { return value == target; }
};

class UIDialog : public UIWndSprite {
 public:
  static constexpr const char* kFile = "data/menu/dialog.ini";
  enum OpenState { kOpening = 0, kOpen = 1, kClosing = 2 };

  // `owner` receives the result as OnCommand(button); it may be null (nobody is told).
  explicit UIDialog(UIWnd* owner);

  // The yes/no question (or any dialog) from the section `name` of "data/menu/dialog.ini": the
  // section is the dialog's own window, and every section "name.Child" becomes a child called
  // "Child", placed relative to the dialog. Null when the document has no such section.
  static UIDialog* CreateFromDefinition(UIWnd* owner, const char* name);

  // Reads the dialog's own keys ("bgAlpha", "fadeTime") after the common window keys, and
  // starts opening.
  void Load(const char* file, const char* section) override;
  // Creates the children "section.Child" of `file` relative to the dialog.
  void CreateChildren(const char* file, const char* section);

  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int Wheel(float delta, int code, int value) override;
  // The closing buttons start the closing; other commands go to the owner at once.
  int OnCommand(UIWnd* source) override;
  int Update(int dt) override;
  int Draw() override;

  // Starts closing; when the fades have run back the owner gets OnCommand(button), so `button`
  // must live as long as the dialog (a child of it). Ignored once closing.
  void CloseWith(UIWnd* button);
  // Enter or Escape: shows `button` pressed and closes with it (nothing when null or hidden).
  void PressAndClose(UIWnd* button);

  UIWnd* Owner() const { return owner_; }
  void SetOwner(UIWnd* owner) { owner_ = owner; }
  int OpenState() const { return openState_; }
  bool Closing() const { return openState_ == kClosing; }
  // The button that closed the dialog (valid while the dialog lives), or null.
  UIWnd* ClosedBy() const { return closedBy_; }
  const DialogFade& BackFade() const { return back_; }
  const DialogFade& ContentFade() const { return content_; }
  int FadeTime() const { return fadeTime_; }
  // Set by the holder: the dialog is drawn by its holder after the screen, not in the tree walk.
  void SetDrawnByHolder(bool held) { heldDraw_ = held; }
  // Draws now even when drawn by the holder.
  int DrawNow();

 protected:
  // Which button a key acts on: Enter "DialogYes"; Escape "DialogNo" when it exists and is
  // visible, else "DialogCancel". Dialogs with other buttons override it. Null: the key goes on
  // to the children.
  virtual UIWnd* ButtonForKey(int code);
  // True for the buttons whose click closes the dialog before the owner hears of it.
  virtual bool IsClosingButton(const char* name) const;
  // The child's colour follows the content fade (white, alpha = the fade).
  void ApplyContentAlpha();

  UIWnd* owner_ = nullptr;
  int openState_ = kOpening;
  UIWnd* closedBy_ = nullptr;
  DialogFade back_, content_;
  int backAlpha_ = 160;
  int fadeTime_ = 200;
  bool heldDraw_ = false;
  bool drawing_ = false;
  bool told_ = false;
};

// The message box: a text and one button "WarningOk", which Enter and Escape both press.
class UIWarning : public UIDialog {
 public:
  explicit UIWarning(UIWnd* owner) : UIDialog(owner) {}
  // The message of section `name` of "data/menu/dialog.ini"; null when the section is missing.
  static UIWarning* CreateFromDefinition(UIWnd* owner, const char* name);

 protected:
  UIWnd* ButtonForKey(int code) override;
  bool IsClosingButton(const char* name) const override;
};

// The one dialog a screen may show over itself: while it is open every key, character, mouse and
// wheel event goes only to the dialog, which is drawn after the screen. The dialog is a child of
// the screen (so it is updated with it and destroyed safely after the step) and the kind of the
// open dialog is remembered (each screen numbers its own kinds).
class ModalChild {
 public:
  explicit ModalChild(UIWnd* screen) : screen_(screen) {}
  // Shows `dialog` as the screen's modal child. False (and the dialog destroyed) when one is
  // already open or the dialog is null.
  bool Open(UIDialog* dialog, int kind);
  // Removes the open dialog (destroyed after the step); the kind becomes 0.
  void Close();
  bool IsOpen() const { return dialog_ != nullptr; }
  UIDialog* Dialog() const { return dialog_; }
  int Kind() const { return dialog_ ? kind_ : 0; }
  // For the screen's Draw, after its own drawing.
  void Draw();

 private:
  UIWnd* screen_;
  UIDialog* dialog_ = nullptr;
  int kind_ = 0;
};

// A screen or dialog class with a modal child: its input goes to the open dialog, if any, and the
// dialog is drawn over it.
template <class Base>
class UIWithModal : public Base {
 public:
  using Base::Base;
  ModalChild& Modal() { return modal_; }
  const ModalChild& Modal() const { return modal_; }

  int KeyDown(int code, int value) override {
    if (UIDialog* d = modal_.Dialog()) return d->KeyDown(code, value), 1;
    return Base::KeyDown(code, value);
  }
  int KeyUp(int code, int value) override {
    if (UIDialog* d = modal_.Dialog()) return d->KeyUp(code, value), 1;
    return Base::KeyUp(code, value);
  }
  int Char(int code, int value) override {
    if (UIDialog* d = modal_.Dialog()) return d->Char(code, value), 1;
    return Base::Char(code, value);
  }
  int MouseMove(int buttons, int value) override {
    if (UIDialog* d = modal_.Dialog()) return d->MouseMove(buttons, value), 1;
    return Base::MouseMove(buttons, value);
  }
  int Wheel(float delta, int code, int value) override {
    if (UIDialog* d = modal_.Dialog()) return d->Wheel(delta, code, value), 1;
    return Base::Wheel(delta, code, value);
  }
  int Draw() override {
    const int r = Base::Draw();
    modal_.Draw();
    return r;
  }

 protected:
  ModalChild modal_{this};
};

}  // namespace Menu

// Arrangers: windows that line other windows up in a row, a column or a table. They position their
// children but neither update, draw, own nor pass input to them: whatever they place is drawn and
// owned by another window, and an arranger forgets a child the moment it is destroyed. An arranger
// that shares its owner with the windows it places should follow them in the owner's list: a move
// of the owner (a scroll) then moves them first and lets the arranger place them last.
#pragma once
#include <vector>

#include "ui/wnd.h"

namespace Core {

class UIArranger : public UIWnd {
 public:
  UIArranger();
  // Lets go of the children without destroying them (their owner does that).
  ~UIArranger() override;
  void LoadDef(const char* file, const char* section, bool reload) override;
  // The child keeps its own font; it is appended and everything is arranged again.
  bool AddChild(UIWnd* child) override;
  // Unlinks the child and hands it back to its owner; it is not destroyed.
  void RemoveChild(UIWnd* child) override;
  // Only the arranger moves; its children follow through the arrangement.
  void MoveBy(int dx, int dy) override;
  void SetPos(int x, int y) override;
  void Refresh() override { Arrange(); }
  void Reload(int arg) override;
  int KeyDown(int, int) override { return 0; }
  int KeyUp(int, int) override { return 0; }
  int MouseMove(int, int) override { return 0; }
  int Wheel(float, int, int) override { return 0; }
  int Update(int) override { return 0; }
  int Draw() override { return 0; }
  // Places the children by the arranger's rule.
  virtual void Arrange() = 0;
  // Drops a window that is being destroyed from the list (called for every destroyed window).
  void Forget(UIWnd* w);

 protected:
  virtual void ReadKeys(const char* file, const char* section) = 0;
  // Moves a child so that its corner lands on (x, y); its own children ride along.
  static void Place(UIWnd* child, int x, int y) { child->MoveBy(x - child->X(), y - child->Y()); }

 private:
  // The window each child belonged to before it joined (its owner), in child order.
  struct Link {
    UIWnd* owner;
    bool ownerGone;
  };
  std::vector<Link> owners_;
  void Unlink(int index);
};

// "box": a centred row, a row from the left or a column from the top.
class UIBoxLayout : public UIArranger {
 public:
  int Draw() override;
  void Arrange() override;
  int Orient() const { return orient_; }
  int Layout() const { return layout_; }
  int Step() const { return step_; }

 protected:
  void ReadKeys(const char* file, const char* section) override;

 private:
  int orient_ = 0, layout_ = 0, step_ = 0;
};

// "table": columns of "rows" windows, filled from the left, or from the right with "layout" 2.
class UITableLayout : public UIArranger {
 public:
  void Arrange() override;
  // Rows per column as used: a table without "rows" (or a non-positive value) is one row.
  int Rows() const { return rows_ > 0 ? rows_ : 1; }
  void SetGrid(int stepX, int stepY, int rows, int layout);

 protected:
  void ReadKeys(const char* file, const char* section) override;

 private:
  int stepX_ = 0, stepY_ = 0, rows_ = 0, layout_ = 0;
};

// Keeps a window made by the factory hidden and ignored whatever its section says (the layouts
// only place others).
void uiSettleArranger(UIWnd* w);

}  // namespace Core

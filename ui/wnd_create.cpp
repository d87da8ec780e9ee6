// The window factory with its keyword table, and creation of windows from definition sections.
#include "ui/wnd_create.h"

#include <string>
#include <utility>
#include <vector>

#include "base/diag.h"
#include "files/ini.h"
#include "files/text.h"
#include "ui/widget_button.h"
#include "ui/widget_edit.h"
#include "ui/widget_progress.h"
#include "ui/widget_progress2.h"
#include "ui/widget_sprite.h"
#include "ui/widget_switch.h"
#include "ui/widget_switch_select.h"
#include "ui/widget_text.h"
#include "ui/ui_deco_anim.h"
#include "ui/ui_deco_button.h"
#include "ui/ui_deco_frame.h"
#include "ui/ui_deco_motion.h"
#include "ui/ui_deco_particle.h"
#include "ui/ui_deco_text.h"
#include "ui/ui_fade.h"
#include "ui/ui_layout.h"
#include "ui/ui_mouse_wnd.h"
#include "ui/ui_scroll.h"
#include "ui/ui_kf_anim.h"
#include "ui/wnd.h"

namespace {

template <class T>
UIWnd* Make() {
  return new T();
}

struct WndType {
  std::string keyword;
  WndFactoryFn factory;
  WndSettleFn settle;
};

std::vector<WndType>& Types() {
  // The engine's own widgets; the decorative widgets, layouts, menus and game windows add theirs
  // when their parts of the program start.
  static std::vector<WndType> types = {
      {"sprite", &Make<UIWndSprite>, nullptr},         {"ieButton", &Make<UIWndButtonIE>, nullptr},
      {"text", &Make<UITextStatic>, nullptr},          {"switch", &Make<UISwitchBase>, nullptr},
      {"progress", &Make<UIProgress>, nullptr},        {"progress2", &Make<UIProgress2>, nullptr},
      {"switchselect", &Make<UISwitchSelect>, nullptr}, {"ieEdit", &Make<UIEditIE>, nullptr},
      // Decorative windows, layouts and scrolling.
      {"box", &Make<Core::UIBoxLayout>, &Core::uiSettleArranger},
      {"table", &Make<Core::UITableLayout>, &Core::uiSettleArranger},
      {"wndMouse", &Make<Core::UIWndWithMouseTest>, nullptr},
      {"scrollWnd", &Make<Core::UIScrollWnd>, nullptr},
      {"fade", &Make<Core::UIFade>, nullptr},
      {"hint", &Make<Core::UIHint>, nullptr},
      {"colorText", &Make<Core::UIColorText>, nullptr},
      {"typingText", &Make<Core::UITypingText>, nullptr},
      {"floatButton", &Make<Core::UIFloatingButton>, nullptr},
      {"glowButton", &Make<Core::UIGlowButton>, nullptr},
      {"frame", &Make<Core::UIFrame>, nullptr},
      {"frameExt", &Make<Core::UIFrameExt>, nullptr},
      {"frameV", &Make<Core::UIFrameV>, nullptr},
      {"iconWithNumber", &Make<Core::UIIconWithNumber>, nullptr},
      {"rollingSprite", &Make<Core::UIRollingSprite>, nullptr},
      {"anim", &Make<Core::UIAnimWnd>, nullptr},
      {"arrowsMarker", &Make<Core::UIArrowsMarker>, nullptr},
      {"rotatingGlow", &Make<Core::UIRotatingGlow>, nullptr},
      {"wavingWnd", &Make<Core::UIWavingWnd>, nullptr},
      {"particleWnd", &Make<Core::UIParticleWnd>, nullptr},
      {"newAnim", &Make<Core::UINewAnimWnd>, nullptr},
  };
  return types;
}

auto Find(const char* keyword) {
  auto& t = Types();
  auto it = t.begin();
  while (it != t.end() && !textEqualNoCase(it->keyword, keyword ? keyword : "")) ++it;
  return it;
}

// Steps shared by plain and docked creation: make, load, initial state, attach, own font.
UIWnd* CreateAttached(const char* file, const char* section, UIWnd* parent) {
  if (!file || !section) return nullptr;
  const std::string type = iniGetString(file, section, "type", "");
  if (type.empty()) return nullptr;
  auto entry = Find(type.c_str());
  UIWnd* w = entry != Types().end() ? entry->factory() : nullptr;
  const WndSettleFn settle = w ? entry->settle : nullptr;
  if (!w) {
    errorLog("Window definition \"%s\" [%s]: unknown type \"%s\", a plain window stands in\n", file, section,
             type.c_str());
    w = new UIWnd();
  }
  w->Load(file, section);
  int stage = iniGetInt(file, section, "stage", 0);
  if (stage < UIWnd::Ignore || stage > UIWnd::Press) {
    errorLog("Window definition \"%s\" [%s]: stage %d is not a state (0 to 3)\n", file, section, stage);
    stage = stage < 0 ? UIWnd::Ignore : UIWnd::Press;
  }
  w->InitState(stage);
  w->SetSelect(iniGetInt(file, section, "select", 0));
  w->SetHidden((iniGetInt(file, section, "isIgnore", 0) & 1) != 0);
  if (settle) settle(w);
  if (parent && !parent->AddChild(w)) return nullptr;  // a full parent has destroyed it
  const std::string font = iniGetString(file, section, "font", "");
  if (!font.empty()) w->SetFont(font.c_str());
  return w;
}

}  // namespace

void wndRegisterType(const char* keyword, WndFactoryFn factory, WndSettleFn settle) {
  if (!keyword || !*keyword) return;
  auto it = Find(keyword);
  if (!factory) {
    if (it != Types().end()) Types().erase(it);
  } else if (it != Types().end()) {
    it->factory = factory;
    it->settle = settle;
  } else {
    Types().push_back({keyword, factory, settle});
  }
}

bool wndIsTypeRegistered(const char* keyword) { return keyword && Find(keyword) != Types().end(); }

UIWnd* wndFactory(const char* keyword) {
  if (!keyword || !*keyword) return nullptr;
  auto it = Find(keyword);
  return it != Types().end() ? it->factory() : nullptr;
}

UIWnd* wndCreate(const char* file, const char* section, UIWnd* parent, bool relative) {
  UIWnd* w = CreateAttached(file, section, parent);
  if (w && relative && parent) w->MoveBy(parent->X(), parent->Y());
  return w;
}

UIWnd* wndCreateDocked(const char* file, const char* section, UIWnd* parent) {
  UIWnd* w = CreateAttached(file, section, parent);
  if (!w || !parent) return w;
  const int centre = iniGetInt(file, section, "center_to_center_x", 0);
  const int dockY = iniGetInt(file, section, "dockY", 0);
  int px = parent->X() + parent->Width() / 2;
  int py = parent->Y();
  if (dockY == 1) py += parent->Height();
  else if (dockY == 0) py += parent->Height() / 2;
  if (centre) px -= w->Width() / 2;
  w->MoveBy(px, py);
  return w;
}

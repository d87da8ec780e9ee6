// Building windows from definition sections: the "type" keywords, the factory that later parts of
// the program extend with their own window classes, and plain and docked creation.
#pragma once

class UIWnd;

using WndFactoryFn = UIWnd* (*)();
// Runs after a window of the type has taken its state and hidden flag from its section, for types
// that always start another way (layouts start hidden and ignored).
using WndSettleFn = void (*)(UIWnd*);

// Makes `keyword` (compared without regard to ASCII case) create windows with `factory`; a second
// registration of the same keyword replaces the first. A null factory removes the keyword.
void wndRegisterType(const char* keyword, WndFactoryFn factory, WndSettleFn settle = nullptr);
bool wndIsTypeRegistered(const char* keyword);
// A new, unloaded window of the keyword's class, or null for an unknown or empty keyword.
UIWnd* wndFactory(const char* keyword);

// Creates the window described by `section` of `file`, loads it, sets its initial state and
// attaches it to `parent` (which may be null). With `relative`, "x" and "y" are offsets from the
// parent's position. An empty or missing "type" creates nothing (null); a keyword that no class
// answers gives a plain UIWnd so the screen keeps its shape, and a line in gerr.log.
UIWnd* wndCreate(const char* file, const char* section, UIWnd* parent, bool relative = false);
// The same, then placed from the parent's horizontal centre and its top, centre or bottom by the
// keys "center_to_center_x" and "dockY".
UIWnd* wndCreateDocked(const char* file, const char* section, UIWnd* parent);

// Event delivery: per-code observer lists walked by index, so observers added during a delivery are
// reached in it and nested posts finish first. An observer removed during a delivery leaves a hole
// that is closed when the last delivery of that code ends, so no later observer is skipped.
#include "game/core/events.h"

#include <algorithm>

#include "base/diag.h"
#include "game/core/game_main.h"

namespace {
Game::cEventDispatcher* g_current = nullptr;

bool codeValid(int32_t code) { return code >= 0 && code < kEventCodeCount; }

// A bad code is a programming error; report it, but do not let a poster in a loop flood the log.
bool refuse(const char* what, int32_t code) {
  static int reported = 0;
  if (reported < 20) {
    errorLog("Event %s: code %d refused, events are numbered 0 to %d\n", what, int(code), kEventCodeCount - 1);
    if (++reported == 20) errorLog("Event: further refused codes are not reported\n");
  }
  return false;
}
}  // namespace

void MakeEvent(GameEvent& event, int32_t code) {
  event = GameEvent{};
  event.code = code;
}

namespace Game {

cObserver::~cObserver() {
  if (g_current) g_current->Forget(this);
}

void cObserver::OnEvent(GameEvent& event) {
  if (testSetting(TestSwitch::Game_Log_On_Playback)) gameLog("[OnEvent] %d", int(event.code));
  for (int i = 0; i < m_chainCount; ++i)
    if (cObserver* o = Chained(i)) o->OnEvent(event);
}

cObserver* cObserver::Chained(int i) const {
  if (i < 0 || i >= m_chainCount) return nullptr;
  return i < int(m_chainLocal.size()) ? m_chainLocal[size_t(i)] : m_chainMore[size_t(i) - m_chainLocal.size()];
}

void cObserver::AddChained(cObserver* observer) {
  if (!observer) return;
  if (m_chainCount < int(m_chainLocal.size()))
    m_chainLocal[size_t(m_chainCount)] = observer;
  else
    m_chainMore.push_back(observer);
  ++m_chainCount;
}

void cObserver::RemoveChained(cObserver* observer) {
  for (int i = 0; i < m_chainCount; ++i) {
    if (Chained(i) != observer) continue;
    for (int j = i; j + 1 < m_chainCount; ++j) {
      cObserver* next = Chained(j + 1);
      if (j < int(m_chainLocal.size()))
        m_chainLocal[size_t(j)] = next;
      else
        m_chainMore[size_t(j) - m_chainLocal.size()] = next;
    }
    --m_chainCount;
    if (m_chainCount >= int(m_chainLocal.size()))
      m_chainMore.pop_back();
    else
      m_chainLocal[size_t(m_chainCount)] = nullptr;
    return;
  }
}

cEventDispatcher::cEventDispatcher() {
  for (List& l : m_lists) l.entries.reserve(10);
}

cEventDispatcher::~cEventDispatcher() {
  if (g_current == this) g_current = nullptr;
}

bool cEventDispatcher::Register(int32_t code, cObserver* observer) {
  if (!observer) return false;
  if (!codeValid(code)) return refuse("register", code);
  m_lists[size_t(code)].entries.push_back(observer);
  return true;
}

void cEventDispatcher::Remove(List& list, size_t i) {
  if (list.delivering > 0) {
    list.entries[i] = nullptr;
    list.holes = true;
  } else {
    list.entries.erase(list.entries.begin() + std::ptrdiff_t(i));
  }
}

void cEventDispatcher::Compact(List& list) {
  list.entries.erase(std::remove(list.entries.begin(), list.entries.end(), nullptr), list.entries.end());
  list.holes = false;
}

bool cEventDispatcher::Unregister(cObserver* observer, int32_t code) {
  if (!codeValid(code)) return refuse("unregister", code);
  if (!observer) return false;
  List& list = m_lists[size_t(code)];
  for (size_t i = 0; i < list.entries.size(); ++i) {
    if (list.entries[i] == observer) {
      Remove(list, i);
      return true;
    }
  }
  return false;
}

void cEventDispatcher::UnregisterAll(cObserver* observer) {
  for (int32_t code = 0; code < kEventCodeCount; ++code) Unregister(observer, code);
}

void cEventDispatcher::Forget(cObserver* observer) {
  if (!observer) return;
  for (List& list : m_lists)
    for (size_t i = list.entries.size(); i-- > 0;)
      if (list.entries[i] == observer) Remove(list, i);
}

void cEventDispatcher::Post(GameEvent& event) {
  const int32_t code = event.code;
  if (testSetting(TestSwitch::Game_Log_On_Playback)) gameLog("[Event] %d", int(code));
  if (!codeValid(code)) {
    refuse("post", code);
    return;
  }
  List& list = m_lists[size_t(code)];
  ++list.delivering;
  // The length and storage are read again at every step: observers may register or post.
  for (size_t i = 0; i < list.entries.size(); ++i)
    if (cObserver* o = list.entries[i]) o->OnEvent(event);
  if (--list.delivering == 0 && list.holes) Compact(list);
}

int cEventDispatcher::Count(int32_t code) const {
  if (!codeValid(code)) return 0;
  const auto& e = m_lists[size_t(code)].entries;
  return int(e.size() - size_t(std::count(e.begin(), e.end(), nullptr)));
}

cObserver* cEventDispatcher::At(int32_t code, int i) const {
  if (!codeValid(code) || i < 0) return nullptr;
  for (cObserver* o : m_lists[size_t(code)].entries)
    if (o && i-- == 0) return o;
  return nullptr;
}

void eventSetDispatcher(cEventDispatcher* dispatcher) { g_current = dispatcher; }
cEventDispatcher* eventDispatcher() { return g_current; }
}  // namespace Game

void Register(int32_t code, Game::cEventDispatcher* dispatcher, Game::cObserver* observer) {
  if (dispatcher) dispatcher->Register(code, observer);
}

void Unregister(Game::cObserver* observer, int32_t code) {
  if (Game::cEventDispatcher* d = Game::eventDispatcher()) d->Unregister(observer, code);
}

void UnregisterAll(Game::cObserver* observer) {
  if (Game::cEventDispatcher* d = Game::eventDispatcher()) d->UnregisterAll(observer);
}

void Post(Game::cEventDispatcher* dispatcher, GameEvent& event) {
  if (dispatcher) dispatcher->Post(event);
}

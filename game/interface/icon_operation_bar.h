// The work progress bar over a subject: started by the subject's "work started" event, it fills
// over the work's duration and hides itself when the time is over.
#pragma once

#include <cstdint>

#include "game/core/map_object.h"

namespace Icon {

// The bar's clock on its own, so the filling can be followed without a map.
class cBar {
 public:
  // A new run of `durationMs` from empty; a duration of 0 or less is no run at all.
  void Start(int32_t durationMs);
  // Moves the bar on; true on the step that ends the run.
  bool Advance(int32_t ms);
  bool Running() const { return m_running; }
  // How full the bar is, 0 to 1.
  float Fraction() const;

 private:
  int32_t m_duration = 0;
  int32_t m_elapsed = 0;
  bool m_running = false;
};

class cOperationBar : public Map::cObject {
 public:
  void OnEvent(GameEvent& event) override;
  bool UpdateTimers(int32_t ms) override;
  void CopyFrom(const Map::cObject& from) override;

  const cBar& Bar() const { return m_bar; }

 private:
  cBar m_bar;
};
}  // namespace Icon

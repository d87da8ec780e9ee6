// The input messages a test's game callback received, in order, for tests of the window input.
#pragma once
#include <vector>

namespace testkit {

struct Msg {
  int message, code, value;
  bool operator==(const Msg& o) const { return message == o.message && code == o.code && value == o.value; }
};

inline std::vector<Msg>& capturedMessages() {
  static std::vector<Msg> got;
  return got;
}

// An input callback for appInit that records every message and handles none.
inline int captureMessage(int message, int code, int value) {
  capturedMessages().push_back({message, code, value});
  return 0;
}

}  // namespace testkit

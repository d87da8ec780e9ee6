// The owner window of the menu tests: it hears every command its children send, by the source's
// name.
#pragma once
#include <string>
#include <vector>

#include "ui/wnd.h"

namespace menutest {

class Owner : public UIWnd {
 public:
  std::vector<std::string> heard;
  int OnCommand(UIWnd* source) override {
    heard.push_back(source ? source->Name() : "");
    return 1;
  }
};

}  // namespace menutest

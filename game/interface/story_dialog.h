// Story dialogs between characters during play: an entry of "data/menu/ingameDialogs.ini" with
// its speakers, pictures and box places, and the close button's rule (first finish the texts).
#pragma once

#include <cstdint>
#include <string>

namespace Interface {

struct StoryPoint {
  int32_t x = 0, y = 0;
};

struct StoryDialog {
  int32_t number = 0;
  bool twoSpeakers = false;
  bool blinkingEyes = false;
  int32_t effectTimeoutMs = 0;
  int32_t text2TimeoutMs = 1500;
  std::string name1, name2;      // translation keys
  std::string avatar1, avatar2;  // pictures
  StoryPoint box1, box2, avatar1At, avatar2At, button;
  std::string text1Window, text2Window;  // window definitions "text1_N", "text2_N"
};

constexpr const char* kStoryDialogFile = "data/menu/ingameDialogs.ini";

// Reads dialog `number`; false (and a gerr.log line naming the file and the entry) when the file
// has no such dialog.
bool storyDialogRead(const char* file, int32_t number, StoryDialog& out);

// The texts typing in an open dialog and what "Close" (or Enter, Escape) does with them.
class cStoryClose {
 public:
  void Open(bool twoSpeakers);
  // A text finished typing.
  void TextFinished();
  // "Close": true when the dialog closes; otherwise the texts are to be finished at once and the
  // next press closes it.
  bool Close();
  bool IsOpen() const { return m_open; }
  int32_t Finished() const { return m_finished; }

 private:
  bool m_open = false;
  int32_t m_needed = 1;
  int32_t m_finished = 0;
};
}  // namespace Interface

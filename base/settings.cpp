// The one instance of the start-up settings.
#include "base/settings.h"

AppSettings& appSettings() {
  static AppSettings settings;
  return settings;
}

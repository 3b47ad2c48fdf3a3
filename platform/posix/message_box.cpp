#include "platform/message_box.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "platform/code_page.h"

namespace platform {

namespace {

bool AutoConfirm() {
  const char* mode = getenv("ZOBELSO_CONFIRM");
  return mode != nullptr && strcmp(mode, "auto") == 0;
}

std::string Printable(const std::u16string& text) {
  // The terminal takes UTF-8; code page 65001 is that on every system.
  std::string bytes(text.size() * 3 + 1, '\0');
  const size_t n = WideToMultiByte(65001, text.c_str(), text.size(), &bytes[0], bytes.size());
  bytes.resize(n);
  return bytes;
}

}  // namespace

void ShowConfirmation(const std::u16string& title, const std::u16string& text) {
  // A service started without a terminal has nobody to ask; waiting would
  // hang its caller for good.
  if (AutoConfirm() || !isatty(STDIN_FILENO)) return;
  fprintf(stderr, "\n[%s]\n%s\n[ OK ] press Enter to continue...", Printable(title).c_str(),
          Printable(text).c_str());
  fflush(stderr);
  for (int c = getchar(); c != '\n' && c != EOF; c = getchar()) {
  }
  fputc('\n', stderr);
}

}  // namespace platform

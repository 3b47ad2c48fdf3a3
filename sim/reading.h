#pragma once
// How a printer took one command that its own rules accepted.
#include <string>
#include <vector>

#include "sim/printed_image.h"

namespace sim {

struct Reading {
  std::string fault;               // why it does not act on it here; empty when it does
  std::vector<std::string> notes;  // what it did besides: "PAGE begin", "PAGE print"...
  // The printer view's line for the command when it tells more than the
  // command's bytes do ("GRAPHICS store 200 x 104 dots"); empty otherwise.
  std::string line;
  // The image it put on the paper, if any (one at most).
  std::vector<PrintedImage> printed;
};

}  // namespace sim

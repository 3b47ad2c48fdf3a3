#include "sim/options.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

const char kUsage[] =
    "usage: zobelso-virtual-printer [options]\n"
    "  --port N          TCP port on 127.0.0.1 (default 9100; 0 picks a free one)\n"
    "  --cover-open      report the cover open\n"
    "  --paper-near-end  report the paper near its end\n"
    "  --paper-out       report the paper out\n"
    "  --drawer-open     start with the cash drawer open\n"
    "  --offline         report the printer offline\n"
    "  --silent          read everything, never answer\n"
    "  --slow MS         sleep MS after each small received chunk\n"
    "  --raw             also hex-dump each connection\n"
    "  --images DIR      write each printed image as DIR/<connection>-<n>.png\n"
    "                    and, where the receipt renderer is built (not on\n"
    "                    Windows), the paper of each connection as\n"
    "                    DIR/receipt-<connection>-<n>.png, one per cut\n"
    "                    (DIR must exist)\n"
    "  --paper 80|58     the roll the printer takes, in mm (default 80); it\n"
    "                    reports the model VIRTUAL-80 or VIRTUAL-58\n"
    "  --connections N   stop after N connections\n"
    "  --ignore-stdin    do not stop at the end of standard input\n"
    "  --pty             listen on a pseudo-terminal instead of TCP and print\n"
    "                    its path (a serial client opens it); POSIX only\n"
    "  --drawer-pin 2|5  kick-out connector pin the drawer opens on (default 2)\n"
    "  --drawer-open-level high|low\n"
    "                    drawer sensor level while open (default high)\n"
    "  --drawer-closes-after MS\n"
    "                    the drawer is pushed shut MS after it opened\n"
    "                    (default 0: it stays open)\n"
    "Stops at the end of standard input (unless --ignore-stdin), after\n"
    "--connections N, or on Ctrl+C.\n"
    "Each connection is printed as a transcript when it closes; a command a\n"
    "printer would mishandle reads INVALID and is counted. DRAWER OPENED and\n"
    "DRAWER CLOSED tell what the drawer did.\n";

namespace {

bool ParseNumber(const std::string& text, long min, long max, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || v < min || v > max) return false;
  *value = v;
  return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto number = [&](long min, long max, long* value) {
      if (i + 1 >= args.size()) {
        *error = a + " needs a value";
        return false;
      }
      if (!ParseNumber(args[++i], min, max, value)) {
        *error = "bad value for " + a + ": " + args[i];
        return false;
      }
      return true;
    };
    long v = 0;
    if (a == "--port") {
      if (!number(0, 65535, &v)) return false;
      o.port = static_cast<uint16_t>(v);
    } else if (a == "--slow") {
      if (!number(0, 60000, &v)) return false;
      o.slowMs = static_cast<int>(v);
    } else if (a == "--connections") {
      if (!number(1, 1000000, &v)) return false;
      o.connections = static_cast<int>(v);
    } else if (a == "--drawer-closes-after") {
      if (!number(0, 3600000, &v)) return false;
      o.drawerClosesAfterMs = static_cast<int>(v);
    } else if (a == "--drawer-pin") {
      if (!number(2, 5, &v)) return false;
      if (v != 2 && v != 5) {
        *error = "bad value for " + a + ": " + args[i] + " (2 or 5)";
        return false;
      }
      o.drawerPin = static_cast<int>(v);
    } else if (a == "--paper") {
      if (!number(58, 80, &v)) return false;
      if (v != 58 && v != 80) {
        *error = "bad value for " + a + ": " + args[i] + " (80 or 58)";
        return false;
      }
      o.paperMm = static_cast<int>(v);
    } else if (a == "--images") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        *error = a + " needs a directory";
        return false;
      }
      o.imageDirectory = args[++i];
    } else if (a == "--drawer-open-level") {
      if (i + 1 >= args.size()) {
        *error = a + " needs a value";
        return false;
      }
      const std::string& level = args[++i];
      if (level != "high" && level != "low") {
        *error = "bad value for " + a + ": " + level + " (high or low)";
        return false;
      }
      o.drawerOpenLevelHigh = level == "high";
    } else if (a == "--cover-open") {
      o.state.coverOpen = true;
    } else if (a == "--paper-near-end") {
      o.state.paperNearEnd = true;
    } else if (a == "--paper-out") {
      o.state.paperOut = true;
    } else if (a == "--drawer-open") {
      o.drawerOpen = true;
    } else if (a == "--offline") {
      o.state.offline = true;
    } else if (a == "--silent") {
      o.silent = true;
    } else if (a == "--raw") {
      o.raw = true;
    } else if (a == "--ignore-stdin") {
      o.ignoreStdin = true;
    } else if (a == "--pty") {
      o.pty = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else {
      *error = "unknown option: " + a;
      return false;
    }
  }
  o.state.drawerSensor = o.drawerOpen == o.drawerOpenLevelHigh;
  *options = o;
  return true;
}

std::string HexDump(const std::vector<uint8_t>& bytes) {
  std::string out;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); i += 16) {
    out += "RAW";
    for (size_t j = i; j < i + 16 && j < bytes.size(); ++j) {
      std::snprintf(buf, sizeof buf, " %02X", bytes[j]);
      out += buf;
    }
    out += '\n';
  }
  return out;
}

}  // namespace sim

#include "options.h"

#include <cerrno>
#include <cstdlib>

namespace pkdsim {

const char kUsage[] =
    "usage: pkd-sim [options]\n"
    "  Serves the device side of the link on a new pseudo-terminal; prints its path.\n"
    "  --link PATH          also make PATH a symlink to the pseudo-terminal\n"
    "  --password DIGITS    engineer password the device expects (default: any)\n"
    "  --format N           image format version byte (default 2)\n"
    "  --firmware N         firmware version byte (default 7)\n"
    "  --load FILE          start from this 32768-byte EEPROM image\n"
    "  --save FILE          save the EEPROM here on exit and on SIGUSR1\n"
    "  --key HEX12          touch-memory key code presented (12 hex digits)\n"
    "  --key-after N        answer the first N key requests with \"no key yet\" (sub-code 18)\n"
    "  --retry-first N      answer the first N requests with the retry request\n"
    "  --drop-every K       leave every K-th request unanswered\n"
    "  --cut-after N        answer the first N requests, then nothing more (a pulled cable)\n"
    "  --corrupt-every K    spoil the checksum of every K-th reply\n"
    "  --error-on CMD:SUB   answer command CMD with error sub-code SUB (repeatable)\n"
    "  --loader-bad-line K  answer loader line K with a wrong checksum\n"
    "  --baud B             emulate the wire time of B baud (10 bits a byte, both ways)\n"
    "  --write-latency MS   extra time each EEPROM write takes\n"
    "  --log FILE           log every frame, both directions, in hex\n"
    "  --stuck-byte ADDR    a faulty EEPROM cell: every write to ADDR leaves bit 0 flipped\n"
    "  --modem              a Hayes modem in front of the device: AT commands, ATD dials,\n"
    "                       then the device over a 9600 bit/s call (--baud is then not used)\n"
    "  --modem-dial-ms MS   time from ATD to its answer (default 3000)\n"
    "  --modem-answer A     what ATD gets: connect (default), busy, no-answer, no-carrier, none\n"
    "  --modem-latency MS   one-way delay of the call (default 150)\n"
    "  --modem-jitter MS    spread of that delay, either way (default 50)\n"
    "  --modem-guard-ms MS  silence needed before and after \"+++\" (default 1000)\n"
    "  --modem-drop-after N the carrier is lost after N data bytes (both ways)\n";

namespace {

bool Number(const std::string& text, long min, long max, long& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 0);  // 0x.. accepted
  if (errno != 0 || *end != '\0' || v < min || v > max) return false;
  out = v;
  return true;
}

bool HexKey(const std::string& text, std::array<uint8_t, 6>& key) {
  if (text.size() != 12) return false;
  for (size_t i = 0; i < 6; ++i) {
    long v;
    if (!Number("0x" + text.substr(2 * i, 2), 0, 255, v)) return false;
    key[i] = static_cast<uint8_t>(v);
  }
  return true;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--help" || name == "-h") {
      error.clear();
      return std::nullopt;
    }
    if (name == "--modem") {
      o.modem = true;
      continue;
    }
    if (i + 1 >= argc) {
      error = "missing value for " + name;
      return std::nullopt;
    }
    const std::string value = argv[++i];
    long n = 0;
    auto number = [&](long min, long max) {
      if (Number(value, min, max, n)) return true;
      error = "bad value for " + name + ": " + value;
      return false;
    };
    if (name == "--link") {
      o.linkPath = value;
    } else if (name == "--password") {
      if (value.size() > 6 || value.find_first_not_of("0123456789") != std::string::npos) {
        error = "--password takes up to 6 decimal digits";
        return std::nullopt;
      }
      o.password = value;
    } else if (name == "--format") {
      if (!number(0, 255)) return std::nullopt;
      o.format = static_cast<int>(n);
    } else if (name == "--firmware") {
      if (!number(0, 255)) return std::nullopt;
      o.firmware = static_cast<int>(n);
    } else if (name == "--load") {
      o.loadPath = value;
    } else if (name == "--save") {
      o.savePath = value;
    } else if (name == "--key") {
      if (!HexKey(value, o.key)) {
        error = "--key takes 12 hexadecimal digits";
        return std::nullopt;
      }
    } else if (name == "--key-after") {
      if (!number(0, 1L << 30)) return std::nullopt;
      o.keyAfter = n;
    } else if (name == "--retry-first") {
      if (!number(0, 1L << 30)) return std::nullopt;
      o.retryFirst = static_cast<int>(n);
    } else if (name == "--drop-every") {
      if (!number(0, 1L << 30)) return std::nullopt;
      o.dropEvery = static_cast<int>(n);
    } else if (name == "--cut-after") {
      if (!number(0, 1L << 30)) return std::nullopt;
      o.cutAfter = n;
    } else if (name == "--corrupt-every") {
      if (!number(0, 1L << 30)) return std::nullopt;
      o.corruptEvery = static_cast<int>(n);
    } else if (name == "--error-on") {
      const auto colon = value.find(':');
      long cmd, sub;
      if (colon == std::string::npos || !Number(value.substr(0, colon), 0, 255, cmd) ||
          !Number(value.substr(colon + 1), 0, 255, sub)) {
        error = "--error-on takes CMD:SUB, e.g. 0x23:16";
        return std::nullopt;
      }
      o.errorOn.push_back({static_cast<uint8_t>(cmd), static_cast<uint8_t>(sub)});
    } else if (name == "--loader-bad-line") {
      if (!number(0, 1L << 30)) return std::nullopt;
      o.loaderBadLine = static_cast<int>(n);
    } else if (name == "--baud") {
      if (!number(0, 10000000)) return std::nullopt;
      o.baud = static_cast<int>(n);
    } else if (name == "--write-latency") {
      if (!number(0, 60000)) return std::nullopt;
      o.writeLatencyMs = static_cast<int>(n);
    } else if (name == "--stuck-byte") {
      if (!number(0, 0x7FFF)) return std::nullopt;
      o.stuckByte = n;
    } else if (name == "--modem-dial-ms") {
      if (!number(0, 600000)) return std::nullopt;
      o.modemDialMs = static_cast<int>(n);
    } else if (name == "--modem-answer") {
      if (value != "connect" && value != "busy" && value != "no-answer" && value != "no-carrier" && value != "none") {
        error = "--modem-answer takes connect, busy, no-answer, no-carrier or none";
        return std::nullopt;
      }
      o.modemAnswer = value;
    } else if (name == "--modem-latency") {
      if (!number(0, 60000)) return std::nullopt;
      o.modemLatencyMs = static_cast<int>(n);
    } else if (name == "--modem-jitter") {
      if (!number(0, 60000)) return std::nullopt;
      o.modemJitterMs = static_cast<int>(n);
    } else if (name == "--modem-guard-ms") {
      if (!number(1, 60000)) return std::nullopt;
      o.modemGuardMs = static_cast<int>(n);
    } else if (name == "--modem-drop-after") {
      if (!number(0, 1L << 30)) return std::nullopt;
      o.modemDropAfter = n;
    } else if (name == "--log") {
      o.logPath = value;
    } else {
      error = "unknown option: " + name;
      return std::nullopt;
    }
  }
  return o;
}

}  // namespace pkdsim

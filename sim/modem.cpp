#include "modem.h"

#include <algorithm>
#include <cctype>

namespace pkdsim {
namespace {

constexpr size_t kLineLimit = 200;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

Modem::Modem(const Options& options, Logger log) : options_(options), log_(std::move(log)) {}

void Modem::FromTool(const uint8_t* bytes, size_t n, Clock::time_point now) {
  for (size_t i = 0; i < n; ++i) {
    if (state_ == State::kOnline) {
      DataByte(bytes[i], now);
    } else {
      CommandByte(bytes[i], now);
    }
  }
}

void Modem::FromDevice(const std::vector<uint8_t>& bytes, Clock::time_point ready) {
  for (const uint8_t b : bytes) {
    if (state_ != State::kOnline) {
      log_("# modem: device bytes dropped, no call online");
      return;
    }
    Send(down_, b, ready);
    CountData(1);
  }
}

void Modem::Tick(Clock::time_point now, std::vector<uint8_t>& toTool, std::vector<uint8_t>& toDevice) {
  if (state_ == State::kDialling && now >= dialDone_) {
    const std::string& answer = options_.modemAnswer;
    state_ = State::kCommand;
    if (answer == "busy") {
      Result("BUSY", 7);
    } else if (answer == "no-answer") {
      Result("NO ANSWER", 8);
    } else if (answer == "no-carrier") {
      Result("NO CARRIER", 3);
    } else {
      log_("# modem: call connected");
      callUp_ = true;
      state_ = State::kOnline;
      dataBytes_ = 0;
      pluses_ = 0;
      lastToolByte_ = now;
      up_ = Path{};
      down_ = Path{};
      Result("CONNECT 9600", 1);
    }
  }
  if (state_ == State::kOnline && pluses_ == 3 && now - lastToolByte_ >= Guard()) {
    log_("# modem: escape, command mode with the call held");
    state_ = State::kCommand;
    pluses_ = 0;
    Result("OK", 0);
  }
  while (!up_.queue.empty() && up_.queue.front().first <= now) {
    toDevice.push_back(up_.queue.front().second);
    up_.queue.pop_front();
  }
  toTool.insert(toTool.end(), pendingTool_.begin(), pendingTool_.end());
  pendingTool_.clear();
  while (state_ == State::kOnline && !down_.queue.empty() && down_.queue.front().first <= now) {
    toTool.push_back(down_.queue.front().second);
    down_.queue.pop_front();
  }
}

std::optional<Modem::Clock::time_point> Modem::NextEvent() const {
  std::optional<Clock::time_point> next;
  const auto consider = [&next](Clock::time_point t) {
    if (!next || t < *next) next = t;
  };
  if (!pendingTool_.empty()) consider(Clock::time_point{});
  if (state_ == State::kDialling && options_.modemAnswer != "none") consider(dialDone_);
  if (state_ == State::kOnline && pluses_ == 3) consider(lastToolByte_ + Guard());
  if (!up_.queue.empty()) consider(up_.queue.front().first);
  if (state_ == State::kOnline && !down_.queue.empty()) consider(down_.queue.front().first);
  return next;
}

void Modem::CommandByte(uint8_t byte, Clock::time_point now) {
  if (state_ == State::kDialling) {
    // Any key stops the dialling.
    log_("# modem: dialling aborted");
    state_ = State::kCommand;
    Result("NO CARRIER", 3);
    return;
  }
  if (echo_) pendingTool_.push_back(byte);
  if (byte == '\r') {
    const std::string line = line_;
    line_.clear();
    Line(line, now);
  } else if (byte == 0x08 || byte == 0x7F) {
    if (!line_.empty()) line_.pop_back();
  } else if (byte != '\n' && line_.size() < kLineLimit) {
    line_ += static_cast<char>(byte);
  }
}

// One command line: "AT" and any number of commands after it. Anything that
// does not begin with "AT" is not for the modem and gets no answer.
void Modem::Line(const std::string& raw, Clock::time_point now) {
  // Bytes before the "AT" (a frame sent into command mode) are not a command.
  const std::string upper = Upper(raw);
  const size_t at = upper.find("AT");
  if (at == std::string::npos) return;
  log_("# modem: " + raw.substr(at));
  const std::string s = upper.substr(at + 2);
  size_t i = 0;
  const auto digits = [&s, &i](int fallback) {
    if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return fallback;
    int v = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) v = v * 10 + (s[i++] - '0');
    return v;
  };
  while (i < s.size()) {
    const char c = s[i++];
    if (c == ' ') continue;
    switch (c) {
      case 'E':
      case 'V': {
        const int v = digits(0);
        if (v > 1) return Result("ERROR", 4);
        (c == 'E' ? echo_ : verbose_) = v == 1;
        break;
      }
      case 'Z':
        digits(0);
        if (callUp_) HangUp("reset");
        echo_ = verbose_ = true;
        break;
      case '&':
        if (i >= s.size() || !std::isalpha(static_cast<unsigned char>(s[i]))) return Result("ERROR", 4);
        if (s[i++] == 'F') echo_ = verbose_ = true;
        digits(0);
        break;
      case 'S': {
        if (digits(-1) < 0) return Result("ERROR", 4);
        if (i < s.size() && s[i] == '?') {
          ++i;
        } else if (i < s.size() && s[i] == '=') {
          ++i;
          if (digits(-1) < 0) return Result("ERROR", 4);
        } else {
          return Result("ERROR", 4);
        }
        break;
      }
      case '+':  // an extended command (AT+CBST=...) takes the rest of the line
        i = s.size();
        break;
      case 'D': {
        std::string number;
        for (; i < raw.size() - at - 2; ++i)
          if (s[i] != ' ') number += raw[at + 2 + i];
        if (!number.empty() && (number[0] == 'T' || number[0] == 't' || number[0] == 'P' || number[0] == 'p'))
          number.erase(0, 1);
        if (number.empty() || callUp_) return Result("ERROR", 4);
        log_("# modem: dialling " + number);
        state_ = State::kDialling;
        dialDone_ = now + std::chrono::milliseconds(options_.modemDialMs);
        return;
      }
      case 'H':
        digits(0);
        if (callUp_) {
          HangUp("ATH");
          return Result("NO CARRIER", 3);
        }
        break;
      case 'O':
        digits(0);
        if (!callUp_) return Result("NO CARRIER", 3);
        state_ = State::kOnline;
        pluses_ = 0;
        lastToolByte_ = now;
        return Result("CONNECT 9600", 1);
      default:
        if (!std::isalpha(static_cast<unsigned char>(c))) return Result("ERROR", 4);
        digits(0);  // another basic command (I, L, M, Q, X ...): accepted
        break;
    }
  }
  Result("OK", 0);
}

void Modem::DataByte(uint8_t byte, Clock::time_point now) {
  const bool quietBefore = now - lastToolByte_ >= Guard();
  if (byte == '+' && quietBefore) {
    pluses_ = 1;
  } else if (byte == '+' && pluses_ > 0 && pluses_ < 3) {
    ++pluses_;
  } else {
    pluses_ = 0;
  }
  lastToolByte_ = now;
  Send(up_, byte, now);
  CountData(1);
}

void Modem::Send(Path& path, uint8_t byte, Clock::time_point now) {
  const auto byteTime = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(10.0 / kCallBaud));
  // A stretch after the air was quiet travels with a delay of its own; the
  // bytes of one stretch keep it, so a reply is never torn apart.
  if (path.airFree + kBlock < now) {
    const int jitter = options_.modemJitterMs;
    std::uniform_int_distribution<int> spread(-jitter, jitter);
    const int ms = std::max(0, options_.modemLatencyMs + (jitter > 0 ? spread(random_) : 0));
    path.delay = std::chrono::milliseconds(ms);
  }
  const auto sent = std::max(path.airFree, now) + byteTime;
  path.airFree = sent;
  // Out at the end of the radio block it went in.
  const auto since = sent.time_since_epoch();
  const auto blockEnd = Clock::time_point((since + kBlock - Clock::duration(1)) / kBlock * kBlock);
  auto at = blockEnd + path.delay;
  if (!path.queue.empty()) at = std::max(at, path.queue.back().first);
  path.queue.emplace_back(at, byte);
}

void Modem::Result(const char* verbose, int numeric) {
  const std::string text = verbose_ ? std::string("\r\n") + verbose + "\r\n" : std::to_string(numeric) + "\r";
  pendingTool_.insert(pendingTool_.end(), text.begin(), text.end());
}

void Modem::HangUp(const char* why) {
  log_(std::string("# modem: call ended (") + why + ")");
  callUp_ = false;
  state_ = State::kCommand;
  pluses_ = 0;
  up_.queue.clear();
  down_.queue.clear();
}

void Modem::CountData(size_t n) {
  dataBytes_ += static_cast<long>(n);
  if (options_.modemDropAfter >= 0 && callUp_ && dataBytes_ >= options_.modemDropAfter) {
    HangUp("carrier lost");
    Result("NO CARRIER", 3);
  }
}

}  // namespace pkdsim

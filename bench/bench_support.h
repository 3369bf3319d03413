// What the benchmarks share: a messenger that prints what is worth seeing,
// and users with keys for the configurations they send.
#pragma once

#include <cstdio>
#include <string>

#include "model/configuration.h"
#include "model/cp1251.h"
#include "model/messenger.h"

namespace vorsin::bench {

class PrintingMessenger final : public Messenger {
 public:
  // Success notes have no caption; everything else is worth seeing.
  int Show(const std::string& text, const std::string& caption, Icon, Buttons) override {
    if (!caption.empty()) std::fprintf(stderr, "%s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
    return kAnswerOk;
  }
};

// Users from..to-1, each with a key and a password of its own.
inline void AddNumberedUsers(Configuration& c, int from, int to) {
  for (int u = from; u < to; ++u) {
    User user;
    user.w[1] = u;
    user.w[2] = 0x0F;
    user.w[3] = 1;
    for (int k = 0; k < 6; ++k) user.w[4 + k] = (u * 7 + k) & 0xFF;
    user.text = std::to_string(100000 + u);
    c.users.push_back(user);
  }
}

}  // namespace vorsin::bench

#include "model/users.h"

#include <algorithm>
#include <cstdio>

#include "model/cp1251.h"

namespace vorsin {
namespace {

constexpr int kLastOffered = 30;  // 31 and the engineer are not offered
constexpr int kLoopBits = 0x0F;

int LoopBit(int column) { return 8 >> (column - 1); }

}  // namespace

std::string UserCaption(int n) {
  if (n == kEngineerNumber) return Cp("Инженер");
  if (n >= 1 && n <= 9) return Cp("Пользователь 0") + std::to_string(n);
  if (n == 27) return Cp("Польз. 27 (\"Ручной запуск\" реле)");
  if (n >= 28 && n <= 31) return Cp("Польз. ") + std::to_string(n) + Cp(" (Периметр)");
  return Cp("Пользователь ") + std::to_string(n);
}

std::string KeyText(const User& user) {
  std::string out;
  char hex[3];
  // The key is shown from its last byte down, after the word that follows it.
  const auto put = [&](int32_t word) {
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(word & 0xFF));
    out += hex;
  };
  put(user.afterKey());
  for (int k = User::kKeyBytes - 1; k >= 0; --k) put(user.keyByte(k));
  return out;
}

bool HasLoop(const User& user, int loop) { return HasBits(user.flags(), LoopBit(loop + 1)); }

std::string UserLoopsText(const User& user) {
  std::vector<int> loops;
  for (int loop = 0; loop < kLoops; ++loop)
    if (HasLoop(user, loop)) loops.push_back(loop);
  return LoopListText(loops);
}

const FlagName& RelayResetFlagName() {
  static const FlagName name{FlagName::Dial, 5, Cp("Сброс события \"ручной запуск\" реле при снятии")};
  return name;
}

std::string UserKeyText(const User& user) { return user.keyPresent() != 0 ? KeyText(user) : Cp("нет"); }

std::vector<int> FreeUserNumbers(const std::vector<User>& users) {
  std::vector<int> out;
  for (int n = 1; n <= kLastOffered; ++n)
    if (FindUser(users, n) < 0) out.push_back(n);
  return out;
}

User NewUser(int number) {
  User u;
  u.setNumber(number);
  return u;
}

bool CanDeleteUser(const std::vector<User>& users, int row) {
  return row > 0 && row < static_cast<int>(users.size()) && users[row].number() != kEngineerNumber;
}

void ToggleLoopForAll(std::vector<User>& users, int column) {
  if (column < 1 || column > 4) return;
  const int bit = LoopBit(column);
  const bool anySet = std::any_of(users.begin(), users.end(), [&](const User& u) { return HasBits(u.flags(), bit); });
  for (User& u : users) u.setFlags(WithBits(u.flags(), bit, !anySet));
}

void ToggleUserLoops(User& user, int column) {
  if (column == 0) {
    user.setFlags(WithBits(user.flags(), kLoopBits, !HasBits(user.flags(), kLoopBits)));
  } else if (column >= 1 && column <= 4) {
    user.setFlags(user.flags() ^ LoopBit(column));
  }
}

int FindUser(const std::vector<User>& users, int number) {
  for (size_t i = 0; i < users.size(); ++i)
    if (users[i].number() == number) return static_cast<int>(i);
  return -1;
}

int AssignKey(std::vector<User>& users, int number, const TouchKey& key) {
  const int current = FindUser(users, number);
  if (current < 0) return -1;
  User& u = users[current];
  u.setKeyPresent(1);
  for (int k = 0; k < kKeyBytes; ++k) u.setKeyByte(k, key[k]);
  for (size_t i = 0; i < users.size(); ++i) {
    if (static_cast<int>(i) == current) continue;
    User& other = users[i];
    bool same = true;
    for (int k = 0; k < kKeyBytes && same; ++k) same = other.keyByte(k) == key[k];
    if (!same) continue;
    other.setKeyPresent(0);
    for (int k = 0; k < kKeyBytes; ++k) other.setKeyByte(k, 0);
    return static_cast<int>(i);
  }
  return -1;
}

bool IsStorablePassword(const std::string& text) {
  if (text == "???") return true;
  return text.size() <= 6 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::array<std::string, kUserColumns> UserRowTexts(const User& user) {
  std::array<std::string, kUserColumns> texts{UserCaption(user.number())};
  for (int loop = 0; loop < kLoops; ++loop) texts[1 + loop] = HasLoop(user, loop) ? "+" : "";
  texts[kKeyColumn] = user.keyPresent() != 0 ? "+" : "";
  return texts;
}

bool AddUser(std::vector<User>& users, int number) {
  if (FindUser(users, number) >= 0 || users.size() >= static_cast<size_t>(kMaxUsers)) return false;
  users.push_back(NewUser(number));
  return true;
}

bool DeleteUser(std::vector<User>& users, int row) {
  if (!CanDeleteUser(users, row)) return false;
  users.erase(users.begin() + row);
  return true;
}

bool RelayReset(const User& user) { return HasBits(user.flags(), 1 << RelayResetFlagName().bit); }

void SetRelayReset(User& user, bool on) { user.setFlags(WithBits(user.flags(), 1 << RelayResetFlagName().bit, on)); }

bool StorePassword(User& user, const std::string& text) {
  if (!IsStorablePassword(text)) return false;
  user.text = text;
  return true;
}

PasswordKey UserPasswordKey(const std::string& text, char key) {
  if (key < '0' || key > '9') return PasswordKey::Drop;
  return text.find('?') != std::string::npos ? PasswordKey::ClearFirst : PasswordKey::Type;
}

}  // namespace vorsin

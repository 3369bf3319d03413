// The users of the device as the users page shows and edits them: row
// captions, key codes, loop rights, passwords and who holds which key.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/configuration.h"
#include "model/flag_names.h"

namespace vorsin {

constexpr int kEngineerNumber = 32;
constexpr int kKeyBytes = 6;
using TouchKey = std::array<uint8_t, kKeyBytes>;

// "Инженер", "Пользователь 05", "Польз. 27 ("Ручной запуск" реле)", ...;
// numbers outside 1..32 read "Пользователь " + n (Windows-1251).
std::string UserCaption(int number);

// The key code as 14 upper-case hex digits, word 10 down to word 4.
std::string KeyText(const User& user);

// "+" when the user works with loop (0..3), else empty.
bool HasLoop(const User& user, int loop);
// The user's loops as a list: "Шлейф 1, 2", or "нет".
std::string UserLoopsText(const User& user);
// CheckBox46, bit 5 of the user's flags.
const FlagName& RelayResetFlagName();
// "нет" without a key, else KeyText.
std::string UserKeyText(const User& user);

// Numbers the add menu offers: 1..30 not yet used, in order.
std::vector<int> FreeUserNumbers(const std::vector<User>& users);
User NewUser(int number);

// The first row and the engineer, wherever it stands, stay.
bool CanDeleteUser(const std::vector<User>& users, int row);

// Header click on loop column 1..4: when any user has the loop, every user
// loses it, else every user gets it. Other bits stay.
void ToggleLoopForAll(std::vector<User>& users, int column);
// Double click: column 1..4 toggles that loop; column 0 clears all four
// when any is set, else sets all four.
void ToggleUserLoops(User& user, int column);

// Stores the key with the user of this number and takes it from the first
// other user who held the same code. Returns the position of that previous
// holder, or -1. Nothing happens (and -1) when no user has the number.
int AssignKey(std::vector<User>& users, int number, const TouchKey& key);

// Index of the user with this number, or -1.
int FindUser(const std::vector<User>& users, int number);

// What the password field may store: empty, 1..6 digits, or "???" (a
// password the device did not give away).
bool IsStorablePassword(const std::string& text);

// The user list's row: the caption, "+" per loop 1..4 and "+" under
// "Dalas" for a user with a key.
constexpr int kUserColumns = 6;
constexpr int kKeyColumn = 5;
std::array<std::string, kUserColumns> UserRowTexts(const User& user);

// The add menu's choice: refused when the number is taken by now (the menu
// was filled from the list as it was) or the list is full.
bool AddUser(std::vector<User>& users, int number);
// Removes the user at row, unless CanDeleteUser refuses.
bool DeleteUser(std::vector<User>& users, int row);

// CheckBox46: the relay-reset bit of the user's flags, the others kept.
bool RelayReset(const User& user);
void SetRelayReset(User& user, bool on);

// Stores a password the field may hold (IsStorablePassword); false leaves
// the stored one.
bool StorePassword(User& user, const std::string& text);
// A printable key typed into the password field: digits only, and a digit
// typed over "???" (or any "?") starts a new password.
enum class PasswordKey { Drop, ClearFirst, Type };
PasswordKey UserPasswordKey(const std::string& text, char key);

}  // namespace vorsin

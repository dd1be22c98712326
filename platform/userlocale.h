// The user's short-date format and the settings-change broadcast. On Windows
// these are the real locale calls; elsewhere an in-process stand-in keeps the
// value, so start-up and shut-down behave the same way everywhere.
// Kept free of Qt so the Windows source compiles on its own.
#pragma once

#include <string>

namespace varnok::platform {

// Size of the buffer the saved format is read into, terminating zero included.
constexpr int ShortDateBufferSize = 100;

std::string readUserShortDate();
void writeUserShortDate(const std::string &format);
// Tell every top-level window that the user's settings changed.
void broadcastSettingChange();

#ifndef _WIN32
// Stand-in only: what a test sees and sets.
void setStandInShortDate(const std::string &format);
int standInBroadcastCount();
#endif

}  // namespace varnok::platform

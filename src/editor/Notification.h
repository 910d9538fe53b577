#pragma once
// The record an editing window sends to its parent with WM_NOTIFY.

#include "platform/WindowSystem.h"

struct NotifyHeader {
    platform::Hwnd hwndFrom = 0;
    std::uintptr_t idFrom = 0;
    std::uint32_t code = 0;
};

struct SCNotification {
    NotifyHeader nmhdr;
    int position = 0;
    int ch = 0;
    int modifiers = 0;
    int modificationType = 0;
    const char *text = nullptr;
    int length = 0;
    int linesAdded = 0;
    int message = 0;
    platform::WParam wParam = 0;
    platform::LParam lParam = 0;
    int line = 0;
    int foldLevelNow = 0;
    int foldLevelPrev = 0;
    int margin = 0;
    int listType = 0;
    int x = 0;
    int y = 0;
    int updated = 0; // what a user-interface update is about: content, selection, scrolling
};

namespace scn {
constexpr std::uint32_t StyleNeeded = 2000;
constexpr std::uint32_t CharAdded = 2001;
constexpr std::uint32_t SavePointReached = 2002;
constexpr std::uint32_t SavePointLeft = 2003;
constexpr std::uint32_t DoubleClick = 2006;
constexpr std::uint32_t UpdateUI = 2007;
constexpr std::uint32_t Modified = 2008;
constexpr std::uint32_t MarginClick = 2010;
constexpr std::uint32_t Painted = 2013;
constexpr std::uint32_t UserListSelection = 2014;
constexpr std::uint32_t UriDropped = 2015;
constexpr std::uint32_t AutoCSelection = 2022;
} // namespace scn

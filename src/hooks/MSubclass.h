#pragma once
// The message hook: replaces a window's procedure with a shared one that hands chosen
// messages to registered clients. All bookkeeping lives in the hooked window's properties.
// Client pointers are not owned: a client detaches before it is destroyed.

#include "hooks/ISubclass.h"

namespace MSubclass {

void AttachMessage(ISubclass *client, platform::Hwnd hWnd, std::uint32_t iMsg);
void DetachMessage(ISubclass *client, platform::Hwnd hWnd, std::uint32_t iMsg);
std::uint32_t CurrentMessage();
platform::LResult CallOldWindowProc(platform::Hwnd hWnd, std::uint32_t iMsg, platform::WParam wParam,
                                    platform::LParam lParam);

} // namespace MSubclass

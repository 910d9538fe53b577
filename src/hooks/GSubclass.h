#pragma once
// The message hook's operations offered as an object.

#include "hooks/MSubclass.h"

class GSubclass {
public:
    void AttachMessage(ISubclass *client, platform::Hwnd hWnd, std::uint32_t iMsg) const
    {
        MSubclass::AttachMessage(client, hWnd, iMsg);
    }
    void DetachMessage(ISubclass *client, platform::Hwnd hWnd, std::uint32_t iMsg) const
    {
        MSubclass::DetachMessage(client, hWnd, iMsg);
    }
    std::uint32_t CurrentMessage() const { return MSubclass::CurrentMessage(); }
    platform::LResult CallOldWindowProc(platform::Hwnd hWnd, std::uint32_t iMsg, platform::WParam wParam,
                                        platform::LParam lParam) const
    {
        return MSubclass::CallOldWindowProc(hWnd, iMsg, wParam, lParam);
    }
};

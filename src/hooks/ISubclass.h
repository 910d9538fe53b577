#pragma once
// What an object implements to receive another window's messages through the hook.

#include "platform/WindowSystem.h"

enum EMsgResponse : std::int32_t {
    ResponseConsume = 0,     // the window's old procedure never sees the message
    ResponsePostProcess = 1, // the old procedure runs after the clients; its result is returned
    ResponsePreProcess = 2,  // the old procedure runs before the first-registered client
};

class ISubclass {
public:
    virtual ~ISubclass() = default;
    virtual std::int32_t ISubclass_MsgResponse() const = 0;
    virtual void setISubclass_MsgResponse(std::int32_t response) = 0;
    virtual platform::LResult ISubclass_WindowProc(platform::Hwnd hWnd, std::uint32_t iMsg,
                                                   platform::WParam wParam, platform::LParam lParam) = 0;
};

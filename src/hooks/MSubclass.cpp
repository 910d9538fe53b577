#include "hooks/MSubclass.h"

#include "hooks/HookError.h"

using namespace platform;

namespace MSubclass {
namespace {

std::uint32_t g_currentMessage = 0;

WindowSystem &ws() { return WindowSystem::instance(); }

// Property names: "W" old procedure, "WC" registrations, "W#MC" clients of M, "W#M#i" client i.
std::string oldProcName(Hwnd w) { return std::to_string(w); }
std::string registrationsName(Hwnd w) { return std::to_string(w) + "C"; }
std::string clientCountName(Hwnd w, std::uint32_t m) { return std::to_string(w) + "#" + std::to_string(m) + "C"; }
std::string clientName(Hwnd w, std::uint32_t m, LParam i)
{
    return std::to_string(w) + "#" + std::to_string(m) + "#" + std::to_string(i);
}

// Storing 0 removes the property; the result says whether the store took.
bool store(Hwnd w, const std::string &name, LParam value)
{
    if (value == 0) {
        ws().removeProp(w, name);
        return true;
    }
    return ws().setProp(w, name, value);
}

LParam asValue(ISubclass *client) { return reinterpret_cast<LParam>(client); }
ISubclass *asClient(LParam value) { return reinterpret_cast<ISubclass *>(value); }
WndProc asProc(LParam value) { return reinterpret_cast<WndProc>(value); }

LResult hookProc(Hwnd w, std::uint32_t m, WParam wParam, LParam lParam);

void unhook(Hwnd w, WndProc old)
{
    ws().setWindowProc(w, old);
    ws().removeProp(w, oldProcName(w));
    ws().removeProp(w, registrationsName(w));
}

LResult hookProc(Hwnd w, std::uint32_t m, WParam wParam, LParam lParam)
{
    const WndProc old = asProc(ws().getProp(w, oldProcName(w)));
    if (!old)
        return 0;
    const LParam count = ws().getProp(w, clientCountName(w, m));
    if (count == 0) {
        if (m == WM_DESTROY)
            unhook(w, old);
        return WindowSystem::callWindowProc(old, w, m, wParam, lParam);
    }

    LResult result = 0;
    bool oldRan = false;
    ISubclass *last = nullptr;
    for (LParam i = count; i >= 1; --i) {
        ISubclass *client = asClient(ws().getProp(w, clientName(w, m, i)));
        if (!client)
            continue;
        g_currentMessage = m;
        if (i == 1 && client->ISubclass_MsgResponse() == ResponsePreProcess && !oldRan) {
            WindowSystem::callWindowProc(old, w, m, wParam, lParam);
            oldRan = true;
        }
        result = client->ISubclass_WindowProc(w, m, wParam, lParam);
        last = client;
    }
    if (last && last->ISubclass_MsgResponse() == ResponsePostProcess && !oldRan)
        result = WindowSystem::callWindowProc(old, w, m, wParam, lParam);
    return result;
}

} // namespace

void AttachMessage(ISubclass *client, Hwnd w, std::uint32_t m)
{
    if (!ws().isWindow(w))
        throw HookError(kErrInvalidWindow);
    if (!ws().belongsToThisProcess(w))
        throw HookError(kErrExternalWindow);
    if (!client)
        throw HookError(kErrInvalidArgument);

    const LParam p = asValue(client);
    const LParam n = ws().getProp(w, clientCountName(w, m));
    for (LParam i = 1; i <= n; ++i) {
        if (ws().getProp(w, clientName(w, m, i)) == p)
            throw HookError(kErrAlreadyHandled);
    }

    if (!store(w, clientCountName(w, m), n + 1))
        throw HookError(kErrInvalidArgument);
    const auto undoClient = [&] {
        ws().removeProp(w, clientName(w, m, n + 1));
        store(w, clientCountName(w, m), n);
    };
    if (!store(w, clientName(w, m, n + 1), p)) {
        store(w, clientCountName(w, m), n);
        throw HookError(kErrInvalidArgument);
    }

    const LParam registrations = ws().getProp(w, registrationsName(w));
    WndProc previous = nullptr;
    if (registrations == 0) {
        previous = ws().setWindowProc(w, &hookProc);
        if (!previous) {
            undoClient();
            throw HookError(kErrCantSubclass);
        }
        if (!store(w, oldProcName(w), reinterpret_cast<LParam>(previous))) {
            ws().setWindowProc(w, previous);
            undoClient();
            throw HookError(kErrInvalidArgument);
        }
    }

    if (!store(w, registrationsName(w), registrations + 1)) {
        undoClient();
        if (registrations == 0) {
            ws().setWindowProc(w, previous);
            ws().removeProp(w, oldProcName(w));
        }
        throw HookError(kErrInvalidArgument);
    }
}

void DetachMessage(ISubclass *client, Hwnd w, std::uint32_t m)
{
    if (!ws().isWindow(w) || !ws().belongsToThisProcess(w))
        return;
    const LParam n = ws().getProp(w, clientCountName(w, m));
    if (n == 0)
        return;
    const LParam p = asValue(client);
    LParam position = 0;
    for (LParam i = 1; i <= n; ++i) {
        if (ws().getProp(w, clientName(w, m, i)) == p) {
            position = i;
            break;
        }
    }
    if (position == 0)
        return;

    for (LParam i = position; i < n; ++i)
        store(w, clientName(w, m, i), ws().getProp(w, clientName(w, m, i + 1)));
    ws().removeProp(w, clientName(w, m, n));
    store(w, clientCountName(w, m), n - 1);

    const LParam registrations = ws().getProp(w, registrationsName(w));
    if (registrations == 1) {
        if (const WndProc old = asProc(ws().getProp(w, oldProcName(w))))
            ws().setWindowProc(w, old);
        ws().removeProp(w, oldProcName(w));
    }
    store(w, registrationsName(w), registrations - 1);
}

std::uint32_t CurrentMessage() { return g_currentMessage; }

LResult CallOldWindowProc(Hwnd w, std::uint32_t m, WParam wParam, LParam lParam)
{
    const WndProc old = asProc(ws().getProp(w, oldProcName(w)));
    return old ? WindowSystem::callWindowProc(old, w, m, wParam, lParam) : 0;
}

} // namespace MSubclass

#include "platform/WindowSystem.h"

namespace platform {

WindowSystem &WindowSystem::instance()
{
    static WindowSystem system;
    return system;
}

LResult defWindowProc(Hwnd, std::uint32_t, WParam, LParam) { return 0; }

Hwnd WindowSystem::createWindow(WndProc proc, void *userData, QWidget *widget)
{
    const Hwnd hwnd = m_nextHandle++;
    m_windows[hwnd] = Window{proc ? proc : &defWindowProc, userData, widget, false, {}};
    return hwnd;
}

Hwnd WindowSystem::createForeignWindow()
{
    const Hwnd hwnd = createWindow(&defWindowProc);
    m_windows[hwnd].foreign = true;
    return hwnd;
}

void WindowSystem::destroyWindow(Hwnd hwnd)
{
    if (!isWindow(hwnd))
        return;
    sendMessage(hwnd, WM_DESTROY, 0, 0);
    m_windows.erase(hwnd);
}

const WindowSystem::Window *WindowSystem::find(Hwnd hwnd) const
{
    const auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : &it->second;
}

WindowSystem::Window *WindowSystem::find(Hwnd hwnd)
{
    const auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : &it->second;
}

bool WindowSystem::isWindow(Hwnd hwnd) const { return find(hwnd) != nullptr; }

bool WindowSystem::belongsToThisProcess(Hwnd hwnd) const
{
    const Window *w = find(hwnd);
    return w && !w->foreign;
}

void *WindowSystem::userData(Hwnd hwnd) const
{
    const Window *w = find(hwnd);
    return w ? w->userData : nullptr;
}

QWidget *WindowSystem::widget(Hwnd hwnd) const
{
    const Window *w = find(hwnd);
    return w ? w->widget : nullptr;
}

WndProc WindowSystem::windowProc(Hwnd hwnd) const
{
    const Window *w = find(hwnd);
    return w ? w->proc : nullptr;
}

WndProc WindowSystem::setWindowProc(Hwnd hwnd, WndProc proc)
{
    Window *w = find(hwnd);
    if (!w || w->foreign || !proc)
        return nullptr;
    const WndProc previous = w->proc;
    w->proc = proc;
    return previous;
}

LParam WindowSystem::getProp(Hwnd hwnd, const std::string &name) const
{
    const Window *w = find(hwnd);
    if (!w)
        return 0;
    const auto it = w->props.find(name);
    return it == w->props.end() ? 0 : it->second;
}

bool WindowSystem::setProp(Hwnd hwnd, const std::string &name, LParam value)
{
    Window *w = find(hwnd);
    if (!w || (m_propFilter && !m_propFilter(hwnd, name)))
        return false;
    w->props[name] = value;
    return true;
}

void WindowSystem::removeProp(Hwnd hwnd, const std::string &name)
{
    if (Window *w = find(hwnd))
        w->props.erase(name);
}

std::map<std::string, LParam> WindowSystem::props(Hwnd hwnd) const
{
    const Window *w = find(hwnd);
    return w ? w->props : std::map<std::string, LParam>{};
}

LResult WindowSystem::sendMessage(Hwnd hwnd, std::uint32_t msg, WParam wParam, LParam lParam)
{
    const WndProc proc = windowProc(hwnd);
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LResult WindowSystem::callWindowProc(WndProc proc, Hwnd hwnd, std::uint32_t msg, WParam wParam, LParam lParam)
{
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

} // namespace platform

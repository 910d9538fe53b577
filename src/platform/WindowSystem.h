#pragma once
// A small window-message layer with the operations of a classic windowing API:
// handles, window procedures, named properties and synchronous messages.
// The message hook and the editing component's notifications are built on it.

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class QWidget;

namespace platform {

using Hwnd = std::int32_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using WndProc = LResult (*)(Hwnd, std::uint32_t, WParam, LParam);

constexpr std::uint32_t WM_DESTROY = 2;
constexpr std::uint32_t WM_NOTIFY = 0x4E;

class WindowSystem {
public:
    // Windows are process-wide, as on the platform this layer stands in for.
    static WindowSystem &instance();

    Hwnd createWindow(WndProc proc, void *userData = nullptr, QWidget *widget = nullptr);
    // A window owned by another process; it can be asked about but not hooked.
    Hwnd createForeignWindow();
    // Sends WM_DESTROY through the window's current procedure, then forgets the window.
    void destroyWindow(Hwnd hwnd);

    bool isWindow(Hwnd hwnd) const;
    bool belongsToThisProcess(Hwnd hwnd) const;
    void *userData(Hwnd hwnd) const;
    QWidget *widget(Hwnd hwnd) const;

    WndProc windowProc(Hwnd hwnd) const;
    // Returns the previous procedure, or nullptr when the window cannot be changed.
    WndProc setWindowProc(Hwnd hwnd, WndProc proc);

    LParam getProp(Hwnd hwnd, const std::string &name) const;
    bool setProp(Hwnd hwnd, const std::string &name, LParam value);
    void removeProp(Hwnd hwnd, const std::string &name);
    std::map<std::string, LParam> props(Hwnd hwnd) const;

    LResult sendMessage(Hwnd hwnd, std::uint32_t msg, WParam wParam, LParam lParam);
    static LResult callWindowProc(WndProc proc, Hwnd hwnd, std::uint32_t msg, WParam wParam, LParam lParam);

    // Test seam: a filter that makes chosen property stores fail.
    using PropStoreFilter = std::function<bool(Hwnd, const std::string &)>;
    void setPropStoreFilter(PropStoreFilter filter) { m_propFilter = std::move(filter); }

private:
    struct Window {
        WndProc proc = nullptr;
        void *userData = nullptr;
        QWidget *widget = nullptr;
        bool foreign = false;
        std::map<std::string, LParam> props;
    };
    const Window *find(Hwnd hwnd) const;
    Window *find(Hwnd hwnd);

    std::map<Hwnd, Window> m_windows;
    Hwnd m_nextHandle = 0x100;
    PropStoreFilter m_propFilter;
};

// The default procedure: answers every message with 0.
LResult defWindowProc(Hwnd, std::uint32_t, WParam, LParam);

} // namespace platform

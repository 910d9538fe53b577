#pragma once
// A plain form window with one editor control on it, for driving the real component offscreen.

#include "editor/usrScintilla.h"
#include "platform/WindowSystem.h"

#include <QWidget>
#include <memory>

class EditorHost : public QWidget {
public:
    EditorHost()
    {
        hwnd = platform::WindowSystem::instance().createWindow(&EditorHost::formProc, this, this);
        resize(600, 400);
        control = std::make_unique<usrScintilla>(hwnd);
        control->InitScintilla();
        control->sciMain->SendEditor(QsciScintillaBase::SCI_SETCODEPAGE, 936);
        control->sciMain->SizeScintilla(0, 0, 600, 400);
        show();
    }
    ~EditorHost() override
    {
        control.reset();
        platform::WindowSystem::instance().destroyWindow(hwnd);
    }
    clsScintilla &sci() { return *control->sciMain; }
    QsciScintillaBase &widget() { return *control->sciMain->widget(); }
    // A style's attribute and font face, read back from the component.
    long style(unsigned int message, int style) { return widget().SendScintilla(message, static_cast<unsigned long>(style)); }
    QByteArray font(int style)
    {
        char buffer[128] = {};
        widget().SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, static_cast<unsigned long>(style), buffer);
        return QByteArray(buffer);
    }

    // Counts the messages that reach the form's own procedure.
    int ownProcMessages = 0;

    platform::Hwnd hwnd = 0;
    std::unique_ptr<usrScintilla> control;

private:
    static platform::LResult formProc(platform::Hwnd h, std::uint32_t, platform::WParam, platform::LParam)
    {
        if (auto *self = static_cast<EditorHost *>(platform::WindowSystem::instance().userData(h)))
            ++self->ownProcMessages;
        return 77;
    }
};

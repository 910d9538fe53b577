#pragma once
// Every question, message box and file dialog goes through this interface so that
// forms can be driven by tests without a modal loop.

#include <QString>
#include <memory>

class QDialog;
class QPrinter;
class QWidget;

namespace platform {

enum class Answer { Yes, No, Cancel, Ok };
enum class Buttons { YesNo, YesNoCancel, OkCancel };
enum class Icon { None, Information, Question, Warning, Critical };

// A long piece of work on show, with a way for the user to stop it; gone when destroyed.
class IBusy {
public:
    virtual ~IBusy() = default;
    virtual bool cancelRequested() = 0;
};

class IPrompt {
public:
    virtual ~IPrompt() = default;
    virtual Answer ask(const QString &title, const QString &text, Buttons buttons, Icon icon,
                       Answer defaultAnswer) = 0;
    virtual void inform(const QString &title, const QString &text, Icon icon) = 0;
    // Empty result: the user cancelled.
    virtual QString chooseOpenFile(const QString &title, const QString &filter, const QString &defaultSuffix) = 0;
    virtual QString chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix,
                                   const QString &suggestedName) = 0;
    // Shows a dialog modally and returns when it is hidden.
    virtual void runModal(QDialog &dialog) = 0;
    // The print dialog over the given printer; false: the user cancelled.
    virtual bool choosePrinter(QPrinter &) { return false; }
    // Shows that a piece of work is under way, with a button that asks it to stop.
    virtual std::unique_ptr<IBusy> showBusy(const QString &title, const QString &text);
};

// Shows real Qt dialogs over the given parent.
class QtPrompt : public IPrompt {
public:
    explicit QtPrompt(QWidget *parent = nullptr) : m_parent(parent) {}
    // Message boxes and file dialogs open over this window.
    void setParentWidget(QWidget *parent) { m_parent = parent; }
    Answer ask(const QString &title, const QString &text, Buttons buttons, Icon icon, Answer defaultAnswer) override;
    void inform(const QString &title, const QString &text, Icon icon) override;
    QString chooseOpenFile(const QString &title, const QString &filter, const QString &defaultSuffix) override;
    QString chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix,
                           const QString &suggestedName) override;
    void runModal(QDialog &dialog) override;
    bool choosePrinter(QPrinter &printer) override; // PromptPrinter.cpp
    std::unique_ptr<IBusy> showBusy(const QString &title, const QString &text) override; // PromptBusy.cpp

private:
    QWidget *m_parent;
};

// The application title every message box carries.
inline QString appTitle() { return QStringLiteral("Plendor"); }

} // namespace platform

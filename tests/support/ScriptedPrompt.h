#pragma once
// A prompt whose answers a test scripts in advance; it records every question asked.

#include "platform/Prompt.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

class ScriptedPrompt : public platform::IPrompt {
public:
    std::deque<platform::Answer> answers;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    QStringList suggestedSaveNames; // what each save dialog suggested, folder included
    int openDialogsShown = 0;
    QStringList asked;    // texts of ask()
    QStringList informed; // texts of inform()
    QStringList titles;   // titles of both, in order
    // Drives each modal dialog as a person would, in turn; a dialog with no script is cancelled.
    std::deque<std::function<void(QDialog &)>> dialogScripts;
    int dialogsShown = 0;
    // Answers the print dialog in turn (sets up the printer, true to print); none: cancelled.
    std::deque<std::function<bool(QPrinter &)>> printerScripts;
    bool choosePrinter(QPrinter &printer) override
    {
        const auto script = take(printerScripts);
        return script && script(printer);
    }

    platform::Answer ask(const QString &title, const QString &text, platform::Buttons, platform::Icon,
                         platform::Answer defaultAnswer) override
    {
        titles << title;
        asked << text;
        return take(answers, defaultAnswer);
    }
    void inform(const QString &title, const QString &text, platform::Icon) override
    {
        titles << title;
        informed << text;
    }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override
    {
        ++openDialogsShown;
        return take(openFiles);
    }
    QString chooseSaveFile(const QString &, const QString &, const QString &, const QString &suggested) override
    {
        suggestedSaveNames << suggested;
        return take(saveFiles);
    }

    // Busy dialogs shown; each asks its work to stop when cancelBusy is set.
    int busyShown = 0;
    bool cancelBusy = false;
    std::unique_ptr<platform::IBusy> showBusy(const QString &, const QString &) override
    {
        struct Busy : platform::IBusy {
            const bool &cancel;
            explicit Busy(const bool &c) : cancel(c) {}
            bool cancelRequested() override { return cancel; }
        };
        ++busyShown;
        return std::make_unique<Busy>(cancelBusy);
    }

    void runModal(QDialog &dialog) override
    {
        ++dialogsShown;
        const auto script = take(dialogScripts);
        if (!script) {
            dialog.reject();
            return;
        }
        dialog.show();
        script(dialog);
        dialog.hide();
    }

    // Scripted answers left over: each is a dialog the test meant to drive that never opened.
    QStringList unusedScripts() const
    {
        QStringList left;
        const auto note = [&left](std::size_t count, const char *what) {
            if (count > 0)
                left << QStringLiteral("%1 %2").arg(count).arg(QLatin1String(what));
        };
        note(answers.size(), "answers");
        note(openFiles.size(), "open files");
        note(saveFiles.size(), "save files");
        note(dialogScripts.size(), "dialog scripts");
        note(printerScripts.size(), "printer scripts");
        return left;
    }

private:
    template <typename T> static T take(std::deque<T> &queue, T otherwise = {})
    {
        if (queue.empty())
            return otherwise;
        T first = std::move(queue.front());
        queue.pop_front();
        return first;
    }
};

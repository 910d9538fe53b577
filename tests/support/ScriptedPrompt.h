#pragma once
// A prompt whose answers a test scripts in advance; it records every question asked.

#include "platform/Prompt.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

class ScriptedPrompt : public platform::IPrompt {
public:
    std::deque<platform::Answer> answers;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    QStringList suggestedSaveNames; // what each save dialog suggested, folder included
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
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return take(openFiles); }
    QString chooseSaveFile(const QString &, const QString &, const QString &, const QString &suggested) override
    {
        suggestedSaveNames << suggested;
        return take(saveFiles);
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

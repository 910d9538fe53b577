#pragma once
// A prompt whose answers a test scripts in advance; it records every question asked.

#include "platform/Prompt.h"

#include <QStringList>
#include <deque>

class ScriptedPrompt : public platform::IPrompt {
public:
    std::deque<platform::Answer> answers;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    QStringList asked;    // texts of ask()
    QStringList informed; // texts of inform()
    QStringList titles;   // titles of both, in order

    platform::Answer ask(const QString &title, const QString &text, platform::Buttons, platform::Icon,
                         platform::Answer defaultAnswer) override
    {
        titles << title;
        asked << text;
        if (answers.empty())
            return defaultAnswer;
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }
    void inform(const QString &title, const QString &text, platform::Icon) override
    {
        titles << title;
        informed << text;
    }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return take(openFiles); }
    QString chooseSaveFile(const QString &, const QString &, const QString &, const QString &) override
    {
        return take(saveFiles);
    }

private:
    static QString take(std::deque<QString> &queue)
    {
        if (queue.empty())
            return {};
        QString s = queue.front();
        queue.pop_front();
        return s;
    }
};

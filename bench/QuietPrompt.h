#pragma once
// A prompt for benchmarks: answers every question with its default and chooses no file.

#include "platform/Prompt.h"

class QuietPrompt : public platform::IPrompt {
public:
    platform::Answer ask(const QString &, const QString &, platform::Buttons, platform::Icon,
                         platform::Answer defaultAnswer) override
    {
        return defaultAnswer;
    }
    void inform(const QString &, const QString &, platform::Icon) override {}
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &, const QString &) override { return {}; }
    void runModal(QDialog &) override {}
};

#pragma once
// A prompter whose answers a test scripts in advance; it records every message shown.
#include <QStringList>
#include <deque>

#include "workbench/prompter.h"

class ScriptedPrompter : public workbench::Prompter {
public:
    QStringList messages;
    QStringList inputTitles;
    QStringList inputs;          // answers of the input boxes, in order; a null text cancels the box
    std::deque<Answer> answers;  // answers of the questions, in order

    void message(const QString& text) override { messages << text; }
    std::optional<QString> input(const QString& title, const QString&, const QString& defaultText) override {
        inputTitles << title;
        if (inputs.empty()) return defaultText;
        const QString answer = inputs.takeFirst();
        if (answer.isNull()) return std::nullopt;
        return answer;
    }
    bool askYesNo(const QString& text) override { return askYesNoCancel(text) == Answer::Yes; }
    std::deque<Answer> saveAnswers;  // answers of the save prompt, in order (none left: 取消)
    int savePrompts = 0;
    Answer askToSave() override {
        ++savePrompts;
        if (saveAnswers.empty()) return Answer::Cancel;
        const Answer a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    QStringList saveFiles;  // answers of the file choices, in order; none left: cancelled
    std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&) override {
        if (saveFiles.empty()) return std::nullopt;
        return saveFiles.takeFirst();
    }
    QStringList openFiles;  // answers of the file choices for reading, in order; none left: cancelled
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override {
        if (openFiles.empty()) return std::nullopt;
        return openFiles.takeFirst();
    }
    Answer askYesNoCancel(const QString& text) override {
        messages << text;
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

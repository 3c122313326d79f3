// Dialogs for tests: file dialogs that answer from a script and record what they were asked, and
// message dialogs that record their texts.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"
#include "platform/Services.h"

namespace testsupport {

// File dialogs answering from a script, recording every question; an exhausted script cancels.
class TScriptedFileDialogs : public platform::IFileDialogs {
  public:
    std::deque<std::string> Paths;      // answers to ChooseSaveFile
    std::deque<std::string> OpenPaths;  // answers to ChooseOpenFile
    std::deque<bool> Answers;
    std::vector<std::string> Suggested;
    std::vector<std::string> Questions;
    std::vector<std::string> OpenTitles;

    std::string ChooseSaveFile(const std::string&, const std::string&,
                               const std::string& suggested) override {
        Suggested.push_back(suggested);
        return Next(Paths);
    }
    std::string ChooseOpenFile(const std::string& title, const std::string&) override {
        OpenTitles.push_back(title);
        return Next(OpenPaths);
    }
    bool Confirm(const std::string& question) override {
        Questions.push_back(question);
        const bool answer = !Answers.empty() && Answers.front();
        if (!Answers.empty()) {
            Answers.pop_front();
        }
        return answer;
    }

  private:
    static std::string Next(std::deque<std::string>& answers) {
        if (answers.empty()) {
            return std::string();
        }
        std::string path = answers.front();
        answers.pop_front();
        return path;
    }
};

class TRecordedDialogs : public platform::IDialogs {
  public:
    std::vector<std::string> Messages;
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void Beep() override {}
};

}  // namespace testsupport

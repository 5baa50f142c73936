#pragma once

#include "sheet/DialogService.h"

#include <QStringList>
#include <deque>
#include <gtest/gtest.h>

namespace fretloom {

// The dialog service for tests: every dialog takes its answer from a script the test wrote
// beforehand and is recorded. A dialog nobody scripted fails the test and is cancelled.
class ScriptedDialogs : public DialogService {
public:
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<FontChoice>> fontAnswers;
    std::deque<std::optional<Rgb>> colorAnswers;
    std::deque<Answer> questionAnswers;
    std::deque<std::optional<int>> numberAnswers;

    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<FontChoice> fontPresets;
    std::vector<Rgb> colorPresets;
    std::vector<Question> questions;
    std::vector<NumberQuestion> numberQuestions;
    std::vector<std::pair<QString, QString>> warnings;  // title, text
    std::vector<std::pair<QString, QString>> abouts;    // title, text

    std::optional<QString> chooseFileToOpen(const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return next(openAnswers, "open-file dialog");
    }
    std::optional<QString> chooseFileToSave(const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return next(saveAnswers, "save-file dialog");
    }
    std::optional<FontChoice> chooseFont(const FontChoice& preset) override {
        fontPresets.push_back(preset);
        return next(fontAnswers, "font dialog");
    }
    std::optional<Rgb> chooseColor(const Rgb& initial) override {
        colorPresets.push_back(initial);
        return next(colorAnswers, "colour dialog");
    }
    Answer ask(const Question& question) override {
        questions.push_back(question);
        if (questionAnswers.empty()) {
            ADD_FAILURE() << "unscripted question: " << question.text.toStdString();
            return Answer::Cancel;
        }
        const Answer answer = questionAnswers.front();
        questionAnswers.pop_front();
        return answer;
    }
    std::optional<int> askNumber(const NumberQuestion& question) override {
        numberQuestions.push_back(question);
        return next(numberAnswers, "number question");
    }
    void warn(const QString& title, const QString& text) override {
        warnings.emplace_back(title, text);
    }
    void showAbout(const QString& title, const QString& text) override {
        abouts.emplace_back(title, text);
    }

    // Closing a window with a tab in it asks whether to save first; this answers No, so the
    // window closes without writing anything.
    void answerNoIfAskedToSave(bool tabHasText) {
        if (tabHasText)
            questionAnswers.push_back(Answer::No);
    }

    bool allAnswersUsed() const {
        return openAnswers.empty() && saveAnswers.empty() && fontAnswers.empty() &&
               colorAnswers.empty() && questionAnswers.empty() && numberAnswers.empty();
    }

private:
    template <typename T>
    static std::optional<T> next(std::deque<std::optional<T>>& answers, const char* what) {
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted " << what;
            return std::nullopt;
        }
        // Taken by swapping: GCC's -O2 flow analysis wrongly thinks a copied optional QString
        // may be used uninitialised.
        std::optional<T> answer;
        answer.swap(answers.front());
        answers.pop_front();
        return answer;
    }
};

}  // namespace fretloom

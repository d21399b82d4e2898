#pragma once
// Stand-ins for the dialogs the window's pages use, recording what they were asked.

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "frame.h"
#include "windowseams.h"

class FakeChooser : public zd7240::FileChooser {
public:
    std::optional<std::string> answer; // nothing: the operator cancels
    int calls = 0;
    std::optional<std::string> ChooseFile() override {
        ++calls;
        return answer;
    }
};

class FakeMessenger : public zd7240::Messenger {
public:
    QStringList messages; // "Caption|Text"
    void ShowMessage(std::string_view caption, std::string_view text) override {
        messages.append(QString::fromStdString(std::string(caption)) + QLatin1Char('|') +
                        QString::fromStdString(std::string(text)));
    }
};

class FakeErrors : public zd7240::ErrorReport {
public:
    QStringList errors;
    void ReportError(std::string_view message) override {
        errors.append(QString::fromStdString(std::string(message)));
    }
};

class FakeConfirmer : public Confirmer {
public:
    QStringList questions; // "Caption|Text"
    bool answer = true;    // true: "OK"
    bool Confirm(std::string_view caption, std::string_view text) override {
        questions.append(QString::fromStdString(std::string(caption)) + QLatin1Char('|') +
                         QString::fromStdString(std::string(text)));
        return answer;
    }
};

inline const QString kWarning =
    QStringLiteral("Warning|The input must be integer! Please check it!");
inline const QString kCongratulation =
    QStringLiteral("Congratulation|The file is ready for you! Please check it!");

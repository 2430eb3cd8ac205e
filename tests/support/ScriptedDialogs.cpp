#include "support/ScriptedDialogs.h"

ScopedDialogProvider::ScopedDialogProvider(DialogProvider& provider) : previous_(&Dialogs()) {
    InstallDialogs(&provider);
}

ScopedDialogProvider::~ScopedDialogProvider() {
    InstallDialogs(previous_);
}

ScriptedDialogs::ScriptedDialogs(bool install) {
    if (install) {
        previous_ = &Dialogs();
        InstallDialogs(this);
    }
}

ScriptedDialogs::~ScriptedDialogs() {
    if (previous_ && &Dialogs() == this)
        InstallDialogs(previous_);
}

void ScriptedDialogs::QueueMessageAnswer(MsgResult answer) {
    messageAnswers_.push_back(answer);
}

void ScriptedDialogs::QueueMessageAnswers(std::initializer_list<MsgResult> answers) {
    messageAnswers_.insert(messageAnswers_.end(), answers.begin(), answers.end());
}

void ScriptedDialogs::QueueFileAnswer(const QString& path, int filterIndex) {
    fileAnswers_.push_back({path, filterIndex});
}

QStringList ScriptedDialogs::MessageTexts() const {
    QStringList texts;
    for (const MessageRecord& record : messages_)
        texts << record.text;
    return texts;
}

void ScriptedDialogs::Clear() {
    messageAnswers_.clear();
    fileAnswers_.clear();
    messages_.clear();
    files_.clear();
    notices_.clear();
}

MsgResult ScriptedDialogs::Message(const QString& text, MsgKind kind, MsgButtons buttons) {
    return MessageWithDetails(text, QString(), kind, buttons);
}

MsgResult ScriptedDialogs::MessageWithDetails(const QString& text, const QString& details,
                                              MsgKind kind, MsgButtons buttons) {
    MsgResult answer = buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    if (!messageAnswers_.empty()) {
        answer = messageAnswers_.front();
        messageAnswers_.pop_front();
    } else if (defaultMessage_) {
        answer = *defaultMessage_;
    }
    const MessageRecord record{
        text, kind, buttons, MessageCaption(kind), MessageButtonCaptions(buttons), answer, details};
    messages_.append(record);
    if (onMessage_)
        onMessage_(record);
    return answer;
}

SaveFileChoice ScriptedDialogs::AnswerFile(FileDialogKind kind, const FileDialogRequest& request) {
    SaveFileChoice answer{defaultFile_, 0};
    if (!fileAnswers_.empty()) {
        answer = fileAnswers_.front();
        fileAnswers_.pop_front();
    }
    files_.append(FileRecord{kind, request, answer.path, answer.filterIndex});
    return answer;
}

QString ScriptedDialogs::OpenFile(const FileDialogRequest& request) {
    return AnswerFile(FileDialogKind::Open, request).path;
}

QString ScriptedDialogs::SaveFile(const FileDialogRequest& request) {
    return AnswerFile(FileDialogKind::Save, request).path;
}

SaveFileChoice ScriptedDialogs::SaveFileWithFilter(const FileDialogRequest& request) {
    return AnswerFile(FileDialogKind::Save, request);
}

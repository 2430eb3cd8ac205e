#pragma once

// Scripted dialogs for tests: a DialogProvider that records every message
// and file dialog the code under test asks for and answers each from a
// queue of scripted answers.
//
//     ScriptedDialogs dialogs;                 // installed until it goes out of scope
//     dialogs.QueueMessageAnswer(MsgResult::Yes);
//     frame.ResetButtonClick();                // asks "Are you sure ...?"
//     ASSERT_EQ(dialogs.Messages().size(), 2);
//     EXPECT_EQ(dialogs.Messages()[0].kind, MsgKind::Confirmation);
//     EXPECT_EQ(dialogs.Messages()[1].caption, "Information");
//
// When a queue is empty the default answer is given: for a message the
// provider's default (unless set: OK for an OK box, No for a Yes/No box,
// i.e. the answer that does not confirm anything), for a file dialog an
// empty path (cancelled). Each record also holds the answer it received.

#include "ui/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

class ScriptedDialogs : public DialogProvider {
public:
    struct MessageRecord {
        QString text;
        MsgKind kind;
        MsgButtons buttons;
        QString caption;            // window caption the real dialog would show
        QStringList buttonCaptions; // its button captions, left to right
        MsgResult answer;
        QString details;            // the detailed text under the message; empty: none
    };
    // A message that did not wait for an answer.
    struct NoticeRecord {
        QString text;
        MsgKind kind;
        QString key;
        bool withdrawn = false;
    };
    enum class FileDialogKind { Open, Save };
    struct FileRecord {
        FileDialogKind kind;
        FileDialogRequest request;
        QString answer;      // empty: cancelled
        int filterIndex = 0; // the filter the answer chose
    };

    // install: make this the dialog provider until destruction, restoring the
    // provider that was installed before.
    explicit ScriptedDialogs(bool install = true);
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Scripted answers, used in order.
    void QueueMessageAnswer(MsgResult answer);
    void QueueMessageAnswers(std::initializer_list<MsgResult> answers);
    // Empty path: the user cancels. filterIndex: the filter the user selects
    // (callers that ask for it learn it; 0 is the first).
    void QueueFileAnswer(const QString& path, int filterIndex = 0);
    // Answers used once the queues are empty.
    void SetDefaultMessageAnswer(MsgResult answer) { defaultMessage_ = answer; }
    void SetDefaultFileAnswer(const QString& path) { defaultFile_ = path; }
    // Called for each message before it is answered (e.g. to inspect the
    // window at the moment the dialog appears).
    void OnMessage(std::function<void(const MessageRecord&)> hook) { onMessage_ = std::move(hook); }

    const QList<MessageRecord>& Messages() const { return messages_; }
    const QList<FileRecord>& FileRequests() const { return files_; }
    const QList<NoticeRecord>& Notices() const { return notices_; }
    QStringList MessageTexts() const;
    // Scripted answers not used yet.
    qsizetype PendingMessageAnswers() const { return qsizetype(messageAnswers_.size()); }
    qsizetype PendingFileAnswers() const { return qsizetype(fileAnswers_.size()); }
    // Forgets the records and the scripted answers (defaults stay).
    void Clear();

    MsgResult Message(const QString& text, MsgKind kind, MsgButtons buttons) override;
    MsgResult MessageWithDetails(const QString& text, const QString& details, MsgKind kind,
                                 MsgButtons buttons) override;
    void Notice(const QString& text, MsgKind kind, const QString& key = {}) override {
        WithdrawNotice(key);
        notices_.append({text, kind, key});
    }
    void WithdrawNotice(const QString& key) override {
        for (NoticeRecord& notice : notices_)
            if (!key.isEmpty() && notice.key == key)
                notice.withdrawn = true;
    }
    QString OpenFile(const FileDialogRequest& request) override;
    QString SaveFile(const FileDialogRequest& request) override;
    SaveFileChoice SaveFileWithFilter(const FileDialogRequest& request) override;

private:
    SaveFileChoice AnswerFile(FileDialogKind kind, const FileDialogRequest& request);

    std::deque<MsgResult> messageAnswers_;
    std::deque<SaveFileChoice> fileAnswers_;
    std::optional<MsgResult> defaultMessage_;
    QString defaultFile_;
    std::function<void(const MessageRecord&)> onMessage_;
    QList<MessageRecord> messages_;
    QList<FileRecord> files_;
    QList<NoticeRecord> notices_;
    DialogProvider* previous_ = nullptr;
};

// Installs any provider for the lifetime of the object and restores the
// one installed before.
class ScopedDialogProvider {
public:
    explicit ScopedDialogProvider(DialogProvider& provider);
    ~ScopedDialogProvider();
    ScopedDialogProvider(const ScopedDialogProvider&) = delete;
    ScopedDialogProvider& operator=(const ScopedDialogProvider&) = delete;

private:
    DialogProvider* previous_;
};

// The common message dialog and the file dialogs: through the scripted
// seam the other tests use, and once through the real Qt dialogs.

#include "support/ScriptedDialogs.h"
#include "support/LanguageScope.h"
#include "support/ModalDriver.h"
#include "support/QtPrinters.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Shows a message through the real dialog, records what it shows and
// presses the button captioned press.
MsgResult ShowRealBox(const QString& text, MsgKind kind, MsgButtons buttons, const QString& press,
                      ShownBox& shown) {
    ModalDriver driver([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            ADD_FAILURE() << "no message box";
            return;
        }
        shown.title = box->windowTitle();
        shown.text = box->text();
        shown.icon = box->icon();
        QAbstractButton* toPress = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            shown.buttons << button->text();
            if (button->text() == press)
                toPress = button;
        }
        std::sort(shown.buttons.begin(), shown.buttons.end());
        if (toPress)
            toPress->click();
        else
            box->done(-1);
    });
    return ShowMessageDialog(text, kind, buttons);
}

} // namespace

TEST(MessageDialog, CaptionAndButtonsInTheCurrentLanguageThroughTheSeam) {
    ScriptedDialogs dialogs;
    dialogs.QueueMessageAnswer(MsgResult::Yes);
    {
        LanguageScope english(OffsetEnglish);
        EXPECT_EQ(ShowMessageDialog("Really?", MsgKind::Confirmation, MsgButtons::YesNo),
                  MsgResult::Yes);
        EXPECT_EQ(ShowMessageDialog("Broken", MsgKind::Error, MsgButtons::Ok), MsgResult::Ok);
        ShowMessageDialog("w", MsgKind::Warning, MsgButtons::Ok);
        ShowMessageDialog("i", MsgKind::Information, MsgButtons::Ok);
    }
    {
        LanguageScope german(OffsetGerman);
        EXPECT_EQ(ShowMessageDialog("Wirklich?", MsgKind::Confirmation, MsgButtons::YesNo),
                  MsgResult::No); // queue empty: the answer that confirms nothing
    }
    const auto& shown = dialogs.Messages();
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[0].text, "Really?");
    EXPECT_EQ(shown[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(shown[0].caption, "Confirmation");
    EXPECT_EQ(shown[0].buttonCaptions, QStringList({"Yes", "No"}));
    EXPECT_EQ(shown[1].caption, "Error");
    EXPECT_EQ(shown[1].buttonCaptions, QStringList({"OK"}));
    EXPECT_EQ(shown[2].caption, "Warning");
    EXPECT_EQ(shown[3].caption, "Information");
    EXPECT_EQ(shown[4].caption, QString::fromUtf8("Bestätigung"));
    EXPECT_EQ(shown[4].buttonCaptions, QStringList({"Ja", "Nein"}));
    EXPECT_EQ(shown[4].answer, MsgResult::No);
    EXPECT_EQ(dialogs.MessageTexts(), QStringList({"Really?", "Broken", "w", "i", "Wirklich?"}));
}

TEST(ScriptedDialogs, AnswersInOrderThenDefaultsAndRestoresThePreviousProvider) {
    DialogProvider* const real = &Dialogs();
    {
        ScriptedDialogs outer;
        EXPECT_EQ(&Dialogs(), &outer);
        {
            ScriptedDialogs inner;
            inner.QueueMessageAnswers({MsgResult::Yes, MsgResult::Cancel});
            inner.QueueFileAnswer("/tmp/a.txt");
            int hookCalls = 0;
            inner.OnMessage([&](const ScriptedDialogs::MessageRecord& record) {
                ++hookCalls;
                EXPECT_EQ(record.text, "q");
            });
            EXPECT_EQ(ShowMessageDialog("q", MsgKind::Confirmation, MsgButtons::YesNo),
                      MsgResult::Yes);
            EXPECT_EQ(ShowMessageDialog("q", MsgKind::Confirmation, MsgButtons::YesNo),
                      MsgResult::Cancel);
            EXPECT_EQ(ShowMessageDialog("q", MsgKind::Confirmation, MsgButtons::YesNo),
                      MsgResult::No);
            EXPECT_EQ(ShowMessageDialog("q", MsgKind::Error, MsgButtons::Ok), MsgResult::Ok);
            inner.SetDefaultMessageAnswer(MsgResult::Yes);
            EXPECT_EQ(ShowMessageDialog("q", MsgKind::Confirmation, MsgButtons::YesNo),
                      MsgResult::Yes);
            EXPECT_EQ(hookCalls, 5);
            EXPECT_EQ(inner.PendingMessageAnswers(), 0);

            FileDialogRequest request{"Open", "Text (*.txt)", "/tmp", "a.txt", "txt"};
            EXPECT_EQ(Dialogs().OpenFile(request), "/tmp/a.txt");
            EXPECT_EQ(Dialogs().SaveFile(request), "");
            inner.SetDefaultFileAnswer("/tmp/b.txt");
            EXPECT_EQ(Dialogs().SaveFile(request), "/tmp/b.txt");
            ASSERT_EQ(inner.FileRequests().size(), 3);
            EXPECT_EQ(inner.FileRequests()[0].kind, ScriptedDialogs::FileDialogKind::Open);
            EXPECT_EQ(inner.FileRequests()[1].kind, ScriptedDialogs::FileDialogKind::Save);
            EXPECT_EQ(inner.FileRequests()[0].request.filter, "Text (*.txt)");
            EXPECT_EQ(inner.FileRequests()[1].answer, "");
            EXPECT_TRUE(outer.Messages().isEmpty());
            inner.Clear();
            EXPECT_TRUE(inner.Messages().isEmpty());
        }
        EXPECT_EQ(&Dialogs(), &outer);
        ScriptedDialogs notInstalled(false);
        EXPECT_EQ(&Dialogs(), &outer);
        {
            ScopedDialogProvider scoped(notInstalled);
            ShowMessageDialog("to the scoped one", MsgKind::Information, MsgButtons::Ok);
        }
        EXPECT_EQ(notInstalled.Messages().size(), 1);
        EXPECT_EQ(&Dialogs(), &outer);
    }
    EXPECT_EQ(&Dialogs(), real);
}

TEST(MessageDialog, RealMessageBoxShowsTranslatedCaptionIconAndButtons) {
    InstallDialogs(nullptr);
    {
        LanguageScope english(OffsetEnglish);
        ShownBox shown;
        EXPECT_EQ(ShowRealBox("Sure?", MsgKind::Confirmation, MsgButtons::YesNo, "Yes", shown),
                  MsgResult::Yes);
        EXPECT_EQ(shown.title, "Confirmation");
        EXPECT_EQ(shown.text, "Sure?");
        EXPECT_EQ(shown.icon, QMessageBox::Question);
        EXPECT_EQ(shown.buttons, QStringList({"No", "Yes"}));
    }
    {
        LanguageScope german(OffsetGerman);
        ShownBox shown;
        EXPECT_EQ(ShowRealBox("Sicher?", MsgKind::Confirmation, MsgButtons::YesNo, "Nein", shown),
                  MsgResult::No);
        EXPECT_EQ(shown.title, QString::fromUtf8("Bestätigung"));
        EXPECT_EQ(shown.buttons, QStringList({"Ja", "Nein"}));
    }
    {
        LanguageScope english(OffsetEnglish);
        ShownBox shown;
        EXPECT_EQ(ShowRealBox(GetText(91), MsgKind::Error, MsgButtons::Ok, "OK", shown),
                  MsgResult::Ok);
        EXPECT_EQ(shown.title, "Error");
        EXPECT_EQ(shown.icon, QMessageBox::Critical);
        EXPECT_EQ(shown.buttons, QStringList({"OK"}));
        ShownBox warning;
        ShowRealBox("w", MsgKind::Warning, MsgButtons::Ok, "OK", warning);
        EXPECT_EQ(warning.title, "Warning");
        EXPECT_EQ(warning.icon, QMessageBox::Warning);
        ShownBox information;
        ShowRealBox("i", MsgKind::Information, MsgButtons::Ok, "OK", information);
        EXPECT_EQ(information.title, "Information");
        EXPECT_EQ(information.icon, QMessageBox::Information);
    }
}

TEST(MessageDialog, DetailsGoThroughTheSeamAndProvidersWithoutThemGetThePlainMessage) {
    ScriptedDialogs dialogs;
    EXPECT_EQ(ShowMessageDialog("No adapter", "Cause\nFix", MsgKind::Error, MsgButtons::Ok),
              MsgResult::Ok);
    ShowMessageDialog("No adapter", QString(), MsgKind::Error, MsgButtons::Ok);
    ASSERT_EQ(dialogs.Messages().size(), 2);
    EXPECT_EQ(dialogs.Messages()[0].text, "No adapter");
    EXPECT_EQ(dialogs.Messages()[0].details, "Cause\nFix");
    EXPECT_TRUE(dialogs.Messages()[1].details.isEmpty());

    // A provider that knows nothing of details shows the text alone.
    class PlainMessages final : public DialogProvider {
    public:
        MsgResult Message(const QString& text, MsgKind, MsgButtons) override {
            texts << text;
            return MsgResult::Ok;
        }
        QString OpenFile(const FileDialogRequest&) override { return {}; }
        QString SaveFile(const FileDialogRequest&) override { return {}; }
        QStringList texts;
    } plain;
    const ScopedDialogProvider scoped(plain);
    ShowMessageDialog("No adapter", "Cause", MsgKind::Error, MsgButtons::Ok);
    EXPECT_EQ(plain.texts, QStringList{"No adapter"});
}

TEST(MessageDialog, RealMessageBoxUnfoldsTheDetailsWithButtonsInTheCurrentLanguage) {
    InstallDialogs(nullptr);
    LanguageScope german(OffsetGerman);
    QString text, details, showCaption, hideCaption;
    QStringList buttons;
    ModalDriver driver([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            ADD_FAILURE() << "no message box";
            return;
        }
        text = box->text();
        details = box->detailedText();
        QAbstractButton* ok = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            if (box->buttonRole(button) == QMessageBox::ActionRole) {
                showCaption = button->text();
                button->click();
                hideCaption = button->text();
            } else {
                buttons << button->text();
                ok = button;
            }
        }
        if (ok)
            ok->click();
        else
            box->done(-1);
    });
    EXPECT_EQ(ShowMessageDialog(GetText(91), "Ursache\nAbhilfe", MsgKind::Error, MsgButtons::Ok),
              MsgResult::Ok);
    EXPECT_EQ(text, GetText(91));
    EXPECT_EQ(details, "Ursache\nAbhilfe");
    EXPECT_EQ(showCaption, "Details anzeigen...");
    EXPECT_EQ(hideCaption, "Details ausblenden...");
    EXPECT_EQ(buttons, QStringList{"OK"});
}

TEST(FileDialogs, RealDialogsTakeTheRequestAndReturnTheChosenPath) {
    InstallDialogs(nullptr);
    QTemporaryDir dir;
    const QString existing = QDir(dir.path()).filePath("gauge.ini");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const FileDialogRequest request{"Load configuration", "Configuration (*.ini)", dir.path(),
                                    "new", "ini"};
    QString title;
    QStringList filters;
    QString folder;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    const auto inspect = [&](QWidget* modal, const QString& choose) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        folder = dialog->directory().absolutePath();
        mode = dialog->acceptMode();
        if (choose.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(choose);
        QMetaObject::invokeMethod(dialog, "accept");
    };
    {
        ModalDriver driver([&](QWidget* modal) { inspect(modal, existing); });
        EXPECT_EQ(Dialogs().OpenFile(request), existing);
        EXPECT_EQ(title, "Load configuration");
        EXPECT_EQ(filters, QStringList({"Configuration (*.ini)"}));
        EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
        EXPECT_EQ(mode, QFileDialog::AcceptOpen);
    }
    {
        ModalDriver driver(
            [&](QWidget* modal) { inspect(modal, QDir(dir.path()).filePath("export")); });
        EXPECT_EQ(Dialogs().SaveFile(request), QDir(dir.path()).filePath("export.ini"));
        EXPECT_EQ(mode, QFileDialog::AcceptSave);
    }
    {
        ModalDriver driver([&](QWidget* modal) { inspect(modal, QString()); });
        EXPECT_EQ(Dialogs().SaveFile(request), "");
    }
}

TEST(FileDialogs, RealSaveDialogAddsTheSelectedFiltersSuffixAndTellsWhichFilterItWas) {
    InstallDialogs(nullptr);
    QTemporaryDir dir;
    FileDialogRequest request;
    request.title = "Export";
    request.filter = "Text files (*.txt);;CSV (*.csv)";
    request.filterSuffixes = {QString(), "csv"};
    request.folder = dir.path();
    // The user picks filter number `steps` in the type box and types "run".
    const auto save = [&](int steps) {
        QStringList filters;
        ModalDriver driver([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            auto* types = modal->findChild<QComboBox*>("fileTypeCombo");
            if (!dialog || !types) {
                ADD_FAILURE() << "no file dialog with a file type box";
                modal->close();
                return;
            }
            filters = dialog->nameFilters();
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            dialog->selectFile(QDir(dir.path()).filePath("run"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const SaveFileChoice choice = Dialogs().SaveFileWithFilter(request);
        EXPECT_EQ(filters, QStringList({"Text files (*.txt)", "CSV (*.csv)"}));
        return choice;
    };
    const SaveFileChoice text = save(0);
    EXPECT_EQ(text.path, QDir(dir.path()).filePath("run"));
    EXPECT_EQ(text.filterIndex, 0);
    const SaveFileChoice csv = save(1);
    EXPECT_EQ(csv.path, QDir(dir.path()).filePath("run.csv"));
    EXPECT_EQ(csv.filterIndex, 1);
}

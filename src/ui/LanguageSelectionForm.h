#pragma once

// Language choice at first start, before any language is known: its texts
// are fixed and never translated. Closes only through OK, which sets
// LanguageOffset to the chosen language.

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;

class TLanguageSelectionForm : public QDialog {
    Q_OBJECT
public:
    explicit TLanguageSelectionForm(QWidget* parent = nullptr);

    // Shows the window modally over parent and returns the chosen LanguageOffset.
    static int ChooseLanguage(QWidget* parent);

    QGroupBox* LanguageRadioGroupGroup;
    QPushButton* OKButton;

    int ItemIndex() const;
    void SetItemIndex(int index);

public slots:
    void OKButtonClick();
    // Escape and the window manager's close do not dismiss the window.
    void reject() override;

private:
    QList<QRadioButton*> items_;
};

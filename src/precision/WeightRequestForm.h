#pragma once

// The weight entry of the guided precision test: a small modal dialog in
// which the technician enters the declared test weight and its unit. The
// weight and unit stay 0 (gram) unless OK accepts a valid number.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TWeightRequestForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int FormWidth = 300;
    static constexpr int FormHeight = 200;

    explicit TWeightRequestForm(QWidget* owner = nullptr);

    void SetupWeightRequest(const QString& title, const QString& prompt, int unitIndex);
    void OKButtonClick();
    // Enter released in the weight field runs OKButtonClick.
    void WeightEditKeyUp(int key);

    float Weight() const { return weight_; }
    int Unit() const { return unit_; }

    QLabel* TitlePanel = nullptr;
    QLabel* TextPanel = nullptr;
    QLineEdit* WeightEdit = nullptr;
    QComboBox* WeightUnitComboBox = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();

    float weight_ = 0;
    int unit_ = 0;
};

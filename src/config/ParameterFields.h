#pragma once

// The up/down number fields of the configuration work area.

#include <QSpinBox>

// A temperature kept in °C and shown as "4°C", or in °F rounded to the
// nearest integer ("39°F") while the temperature unit is °F. A number typed
// while °F is shown is taken in °F.
class TemperatureField : public QSpinBox {
    Q_OBJECT
public:
    explicit TemperatureField(QWidget* parent = nullptr);
    // 0 °C, 1 °F.
    void SetUnit(int unit);
    int Unit() const { return unit_; }
    // Shows the value again (after a language or unit change).
    void Redisplay();

protected:
    QString textFromValue(int celsius) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;

private:
    int unit_ = 0;
};

// The power-on duration in minutes, shown as "20 min". Any text may be
// typed; on leaving the field it is read with every "min" removed: not a
// number gives 1, a number beyond the range is brought into it.
class DurationField : public QSpinBox {
    Q_OBJECT
public:
    explicit DurationField(QWidget* parent = nullptr);
    void Redisplay();
    // The value a typed text stands for.
    int Interpret(const QString& text) const;

protected:
    QString textFromValue(int minutes) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
};

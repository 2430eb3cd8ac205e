#include "config/ParameterFields.h"

#include "config/ParameterRows.h"
#include "ui/GaugeVocabulary.h"
#include "ui/WideLanguageHandler.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <cmath>

namespace {

constexpr int MinutesTextId = 590;

// The leading whole number of text (sign allowed), if there is one.
bool LeadingNumber(const QString& text, int& number) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*([-+]?\\d+)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    number = match.captured(1).toInt(&ok);
    return ok;
}

} // namespace

TemperatureField::TemperatureField(QWidget* parent) : QSpinBox(parent) {
    setKeyboardTracking(false);
    setAccelerated(false);
}

void TemperatureField::SetUnit(int unit) {
    unit_ = unit == 1 ? 1 : 0;
    Redisplay();
}

void TemperatureField::Redisplay() {
    lineEdit()->setText(textFromValue(value()));
}

QString TemperatureField::textFromValue(int celsius) const {
    return QString::number(Vocabulary::DisplayedTemperature(celsius, unit_)) +
           Vocabulary::TemperatureUnitText(unit_);
}

int TemperatureField::valueFromText(const QString& text) const {
    int number = 0;
    if (!LeadingNumber(text, number))
        return value();
    if (unit_ == 1)
        return static_cast<int>(std::lround((number - 32) / 1.8));
    return number;
}

QValidator::State TemperatureField::validate(QString& text, int&) const {
    int number = 0;
    return LeadingNumber(text, number) ? QValidator::Acceptable : QValidator::Intermediate;
}

DurationField::DurationField(QWidget* parent) : QSpinBox(parent) {
    setKeyboardTracking(false);
    setAccelerated(true);
    // Whenever the text lacks the unit, " min" is put back at its end.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString unit = GetText(MinutesTextId);
        if (text.contains(unit))
            return;
        QLineEdit* edit = lineEdit();
        const int cursor = edit->cursorPosition();
        edit->setText(text + QLatin1Char(' ') + unit);
        edit->setCursorPosition(cursor);
    });
}

void DurationField::Redisplay() {
    lineEdit()->setText(textFromValue(value()));
}

int DurationField::Interpret(const QString& text) const {
    QString plain = text;
    plain.remove(GetText(MinutesTextId));
    plain.remove(QStringLiteral("min"));
    bool ok = false;
    const int minutes = plain.trimmed().toInt(&ok);
    return std::clamp(ok ? minutes : 1, minimum(), maximum());
}

QString DurationField::textFromValue(int minutes) const {
    return QString::number(minutes) + QLatin1Char(' ') + GetText(MinutesTextId);
}

int DurationField::valueFromText(const QString& text) const {
    return Interpret(text);
}

QValidator::State DurationField::validate(QString&, int&) const {
    // Whatever is typed is read when the field is left.
    return QValidator::Acceptable;
}

#pragma once

#include <QLabel>

// A label that shows a value, such as a score or the countdown number. Assistive technology
// reads it under its accessible name ("Hits") with its text as the value ("3"), and hears of
// every change of the value.
class ValueLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    // Shows the value and announces the change.
    void setValue(const QString &value);
    QString value() const { return text(); }
};

#include "valuelabel.h"

#include <QAccessible>

void ValueLabel::setValue(const QString &value)
{
    if (value == text())
        return;
    setText(value);
    QAccessibleValueChangeEvent event(this, value);
    QAccessible::updateAccessibility(&event);
}

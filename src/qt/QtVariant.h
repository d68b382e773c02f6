#pragma once
#include "platform/com/Variant.h"

#include <QVariant>

// Automation values as Qt values and back: 16- and 32-bit integers as int, floats and doubles
// as double, BOOL as bool, strings as QString, an empty value as an invalid QVariant.
class QtVariant {
public:
    static QVariant ToQt(const com::Variant& value);
    // Throws com::DispatchError (DISP_E_TYPEMISMATCH) for a Qt type without an automation
    // counterpart.
    static com::Variant FromQt(const QVariant& value);
};

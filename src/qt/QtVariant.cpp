#include "qt/QtVariant.h"

#include "platform/com/DispatchError.h"

#include <QString>

#include <cstdint>
#include <string>

QVariant QtVariant::ToQt(const com::Variant& value) {
    if (value.isRef()) return ToQt(*value.ref());
    switch (value.type()) {
    case com::VarType::I2:
        return int(value.i2());
    case com::VarType::I4:
        return int(value.i4());
    case com::VarType::R4:
        return double(value.r4());
    case com::VarType::R8:
        return value.r8();
    case com::VarType::Bool:
        return value.boolean();
    case com::VarType::BStr:
        return QString::fromStdU16String(value.str());
    default:
        return QVariant();
    }
}

com::Variant QtVariant::FromQt(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return com::Variant();
    case QMetaType::Bool:
        return com::Variant::Bool(value.toBool());
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return com::Variant::I4(std::int32_t(value.toLongLong()));
    case QMetaType::Float:
    case QMetaType::Double:
        return com::Variant::R8(value.toDouble());
    case QMetaType::QString:
        return com::Variant::Str(value.toString().toStdU16String());
    case QMetaType::QByteArray:
        return com::Variant::Str(value.toByteArray().toStdString());
    default:
        throw com::DispatchError(com::DISP_E_TYPEMISMATCH,
                                 std::string("No automation type for ") + value.typeName());
    }
}

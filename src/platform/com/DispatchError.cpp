#include "platform/com/DispatchError.h"

namespace com {

DispatchError DispatchError::InvalidArg(const std::string& what) {
    return DispatchError(E_INVALIDARG, what);
}

DispatchError DispatchError::TypeMismatch(const std::string& what) {
    return DispatchError(DISP_E_TYPEMISMATCH, what);
}

} // namespace com

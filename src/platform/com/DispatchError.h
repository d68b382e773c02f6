#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace com {

using HRESULT = std::uint32_t;

// Status codes that cross the automation boundary.
inline constexpr HRESULT S_OK = 0x00000000u;
inline constexpr HRESULT E_INVALIDARG = 0x80070057u;
inline constexpr HRESULT E_OUTOFMEMORY = 0x8007000Eu;
inline constexpr HRESULT E_NOTIMPL = 0x80004001u;
inline constexpr HRESULT DISP_E_UNKNOWNNAME = 0x80020006u;
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = 0x80020003u;
inline constexpr HRESULT DISP_E_TYPEMISMATCH = 0x80020005u;
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = 0x8002000Eu;
inline constexpr HRESULT DISP_E_OVERFLOW = 0x8002000Au;
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = 0x8002000Fu;
inline constexpr HRESULT SELFREG_E_TYPELIB = 0x80040200u;
inline constexpr HRESULT SELFREG_E_CLASS = 0x80040201u;

// The exception an automation member raises; the dispatcher hands it to the caller as is.
class DispatchError : public std::runtime_error {
public:
    DispatchError(HRESULT hr, const std::string& description)
        : std::runtime_error(description), hr_(hr) {}
    HRESULT hr() const { return hr_; }
    std::string description() const { return what(); }

    static DispatchError InvalidArg(const std::string& what = "Invalid argument");
    static DispatchError TypeMismatch(const std::string& what = "Type mismatch");

private:
    HRESULT hr_;
};

} // namespace com
